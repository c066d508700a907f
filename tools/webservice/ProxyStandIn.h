#pragma once

#include <memory>

namespace httplib {
class Server;
}

class RequestLog;

// A plain-HTTP proxy on loopback that asks for credentials (407) on every
// request and never forwards anything: it shows how a client answers a proxy
// challenge. Each request is logged with its "Proxy-Authorization" header.
class ProxyStandIn
{
public:
    explicit ProxyStandIn(RequestLog &log);
    ~ProxyStandIn();

    // Binds to 127.0.0.1; port 0 picks a free port. The bound port, or -1.
    int bind(int port);
    bool listen();
    void stop();

private:
    std::unique_ptr<httplib::Server> mServer;
};
