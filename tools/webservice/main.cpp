// txwebservice: the stand-in for the maker's HTTPS web services (see README.md).
#include "webservice/ProxyStandIn.h"
#include "webservice/RequestLog.h"
#include "webservice/StandInService.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <thread>

namespace {

int portOption(const QCommandLineParser &parser, const QString &name)
{
    bool ok = false;
    const int port = parser.value(name).toInt(&ok);
    return ok && port >= 0 && port <= 65535 ? port : -1;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "txwebservice: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Stand-in for the HTTPS web services, on 127.0.0.1.");
    parser.addHelpOption();
    parser.addOptions({
        {"certificates", "Folder holding server.pem and server.key.", "folder"},
        {"config", "JSON file of accounts and failure modes, read for every request.", "file"},
        {"port", "HTTPS port (0: any free port).", "port", "0"},
        {"proxy-port", "Also run the refusing proxy on this port (0: any free port).", "port"},
        {"log", "Append one JSON line per request to this file.", "file"},
    });
    parser.process(app);
    if (!parser.isSet("certificates") || !parser.isSet("config"))
        return fail("--certificates and --config are required");

    RequestLog log(parser.value("log"));
    StandInService service(parser.value("certificates"), parser.value("config"), log);
    if (!service.isValid())
        return fail("cannot load server.pem and server.key from " + parser.value("certificates"));
    const int port = service.bind(portOption(parser, "port"));
    if (port < 0)
        return fail("cannot listen on 127.0.0.1 port " + parser.value("port"));
    // Callers read these lines to learn the ports that were picked.
    std::printf("webservice https://127.0.0.1:%d\n", port);

    ProxyStandIn proxy(log);
    std::thread proxyThread;
    if (parser.isSet("proxy-port")) {
        const int proxyPort = proxy.bind(portOption(parser, "proxy-port"));
        if (proxyPort < 0)
            return fail("cannot listen on 127.0.0.1 proxy port " + parser.value("proxy-port"));
        std::printf("proxy http://127.0.0.1:%d\n", proxyPort);
        proxyThread = std::thread([&proxy] { proxy.listen(); });
    }
    std::fflush(stdout);

    const bool served = service.listen();
    proxy.stop();
    if (proxyThread.joinable())
        proxyThread.join();
    return served ? 0 : fail("serving stopped");
}
