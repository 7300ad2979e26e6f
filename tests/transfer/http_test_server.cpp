#include "http_test_server.h"

HttpTestServer::HttpTestServer() = default;

HttpTestServer::~HttpTestServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

void HttpTestServer::Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
}
