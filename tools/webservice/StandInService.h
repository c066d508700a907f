#pragma once

#include "webservice/FormFields.h"
#include "webservice/ServiceConfig.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace httplib {
class Request;
class Response;
class SSLServer;
}  // namespace httplib

class RequestLog;

// The HTTPS stand-in for the maker's web services: serves the account, sync,
// encryption set-up and web-page token requests and the error report on
// loopback, with the certificate of the private test authority. Replies follow
// the forms the client reads; the configuration file can make a request path
// fail on purpose. Encryption set-ups are kept in memory while it runs.
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
    struct XmlReply
    {
        QString element;
        QList<QPair<QString, QString>> attributes;
    };
    using XmlRoute = std::function<XmlReply(const FormFields &, const ServiceConfig &, const httplib::Request &)>;
    // The body of a reply served normally; mode is the path's failure mode ("nomessage" shapes the body).
    using ReplyMaker = std::function<QByteArray(const FormFields &, const ServiceConfig &, const QString &mode)>;

    void addXmlRoute(const char *path, XmlRoute route);
    void addTextRoute(const char *method, const char *path, const char *contentType, ReplyMaker reply);
    // Logs the request, reads the configuration and applies the path's failure mode;
    // only a request served normally reaches the route's own reply.
    void serve(const httplib::Request &request, httplib::Response &response, const char *contentType,
               const ReplyMaker &reply);

    // The account as configured, with an encryption set-up made here applied over it.
    std::optional<ServiceConfig::Account> currentAccount(const ServiceConfig &config, const QString &username) const;
    // The account when the password is right.
    std::optional<ServiceConfig::Account> signedInAccount(const ServiceConfig &config, const QString &username,
                                                          const QString &password) const;

    XmlReply accountDetailsReply(const FormFields &fields, const ServiceConfig &config,
                                 const httplib::Request &request) const;
    XmlReply syncAccountReply(const FormFields &fields, const ServiceConfig &config) const;
    static XmlReply syncDetailsReply(const FormFields &fields, const ServiceConfig &config);
    static QByteArray emailLookupReply(const FormFields &fields, const ServiceConfig &config);
    QByteArray configureAccountReply(const FormFields &fields, const ServiceConfig &config);
    // A one-time token; a share request ("op_type=share") must name at least one
    // item ("filePaths" or "folderPaths", each "/"-prefixed), which its page lists.
    QByteArray tokenReply(const FormFields &fields, const ServiceConfig &config);
    QByteArray accountPageReply(const FormFields &fields) const;
    static QByteArray renderXml(const XmlReply &reply, bool withMessage);

    std::unique_ptr<httplib::SSLServer> mServer;
    QString mConfigPath;
    RequestLog &mLog;
    // Encryption set-ups made through this service: user name -> (enctype, pvtkey).
    mutable std::mutex mConfiguredMutex;
    std::map<QString, std::pair<QString, QString>> mConfigured;
    // The items of each share token given out: token -> ("file"/"folder", path).
    mutable std::mutex mSharesMutex;
    std::map<QString, QList<QPair<QString, QString>>> mShares;
};
