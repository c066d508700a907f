#pragma once

#include "webservice/FormFields.h"
#include "webservice/ServiceConfig.h"

#include <QString>

#include <functional>
#include <memory>

namespace httplib {
class Request;
class Response;
class SSLServer;
}  // namespace httplib

class RequestLog;

// The HTTPS stand-in for the maker's web services: serves the account and
// sync requests and the error report on loopback, with the certificate of the
// private test authority. Replies follow the forms the client reads; the
// configuration file can make a request path fail on purpose.
class StandInService
{
public:
    // The folder holds server.pem and server.key; the configuration file is read for each request.
    StandInService(const QString &certificateFolder, QString configPath, RequestLog &log);
    ~StandInService();

    bool isValid() const;
    // Binds to 127.0.0.1; port 0 picks a free port. The bound port, or -1.
    int bind(int port);
    // Serves until stop(); returns false when serving failed.
    bool listen();
    void stop();

private:
    // A reply element wrapped in "<root>...</root>"; its attributes in order.
    struct XmlReply {
        QString element;
        QList<QPair<QString, QString>> attributes;
    };
    using XmlRoute = std::function<XmlReply(const FormFields &, const ServiceConfig &)>;
    // The body of a reply served normally; mode is the path's failure mode ("nomessage" shapes the body).
    using ReplyMaker = std::function<QByteArray(const FormFields &, const ServiceConfig &, const QString &mode)>;

    void addXmlRoute(const char *path, XmlRoute route);
    // Logs the request, reads the configuration and applies the path's failure mode;
    // only a request served normally reaches the route's own reply.
    void serve(const httplib::Request &request, httplib::Response &response, const char *contentType,
               const ReplyMaker &reply);

    static XmlReply syncAccountReply(const FormFields &fields, const ServiceConfig &config);
    static XmlReply syncDetailsReply(const FormFields &fields, const ServiceConfig &config);
    static QByteArray renderXml(const XmlReply &reply, bool withMessage);

    std::unique_ptr<httplib::SSLServer> mServer;
    QString mConfigPath;
    RequestLog &mLog;
};
