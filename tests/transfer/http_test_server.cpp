#include "http_test_server.h"

#include <chrono>

HttpTestServer::HttpTestServer() = default;

HttpTestServer::~HttpTestServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

void HttpTestServer::Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only ends a server that already runs: one stopped before its thread got going
    // would listen on, and the destructor's join would never return. (Ten seconds at most: a
    // server that could not listen has ended already.)
    for (int waited = 0; waited < 10000 && !server_.is_running(); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
