// An HTTP server on 127.0.0.1 inside the test process, on a port the system picks; it stops
// when the object goes away.
#pragma once

#include <httplib.h>

#include <string>
#include <thread>

class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // Routes are added before Start.
    httplib::Server& server() { return server_; }
    void Start();
    int port() const { return port_; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};
