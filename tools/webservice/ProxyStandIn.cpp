#include "webservice/ProxyStandIn.h"

#include "webservice/LoopbackBinding.h"
#include "webservice/RequestLog.h"
#include "webservice/SecretMask.h"

#include <QJsonObject>

#include <httplib.h>

ProxyStandIn::ProxyStandIn(RequestLog &log)
    : mServer(std::make_unique<httplib::Server>())
{
    serveManyConnectionsAtOnce(*mServer);
    // Every method, CONNECT included, is answered before routing.
    mServer->set_pre_routing_handler([&log](const httplib::Request &request, httplib::Response &response) {
        QJsonObject entry{{"service", "proxy"},
                          {"method", QString::fromStdString(request.method)},
                          {"target", QString::fromStdString(request.target)}};
        if (request.has_header("Proxy-Authorization"))
            entry.insert("proxyAuthorization", SecretMask::maskedCredentials(QString::fromStdString(
                                                   request.get_header_value("Proxy-Authorization"))));
        log.append(entry);
        response.status = 407;
        response.set_header("Proxy-Authenticate", "Basic realm=\"stand-in proxy\"");
        response.set_content("Proxy authentication required", "text/plain");
        return httplib::Server::HandlerResponse::Handled;
    });
}

ProxyStandIn::~ProxyStandIn() = default;

int ProxyStandIn::bind(int port) { return bindToLoopback(*mServer, port); }

bool ProxyStandIn::listen() { return mServer->listen_after_bind(); }

void ProxyStandIn::stop() { mServer->stop(); }
