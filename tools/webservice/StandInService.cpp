#include "webservice/StandInService.h"

#include "webservice/LoopbackBinding.h"
#include "webservice/RequestLog.h"
#include "webservice/SecretMask.h"

#include <QJsonObject>
#include <QUuid>
#include <QVersionNumber>

#include <httplib.h>

#include <thread>

namespace {

const char *const kXmlType = "text/xml; charset=utf-8";
const char *const kTextType = "text/plain; charset=utf-8";
const char *const kHtmlType = "text/html; charset=utf-8";
const char *const kConfiguredText = "YOUR ACCOUNT IS CONFIGURED SUCCESSFULLY";
const char *const kMalformedXml = "<root><login message=\"SUCCESS\"</root>";
const char *const kRedirectBody = "<root><moved message=\"MOVED\"/></root>";

QJsonObject describe(const httplib::Request &request, const FormFields &fields)
{
    QJsonObject fieldObject;
    for (const auto &[key, value] : fields)
        fieldObject.insert(key, SecretMask::isSecretField(key) ? SecretMask::masked(value) : value);
    QJsonObject entry{{"service", "https"},
                      {"method", QString::fromStdString(request.method)},
                      {"path", QString::fromStdString(request.path)},
                      {"contentType", QString::fromStdString(request.get_header_value("Content-Type"))},
                      {"body", SecretMask::maskedFormBody(QByteArray::fromStdString(request.body))},
                      {"fields", fieldObject}};
    if (request.has_header("Authorization"))
        entry.insert("authorization",
                     SecretMask::maskedCredentials(QString::fromStdString(request.get_header_value("Authorization"))));
    return entry;
}

QPair<QString, QString> failureMessage(const QString &description) { return {QStringLiteral("desc"), description}; }

}  // namespace

StandInService::StandInService(const QString &certificateFolder, QString configPath, RequestLog &log)
    : mServer(std::make_unique<httplib::SSLServer>((certificateFolder + "/server.pem").toLocal8Bit().constData(),
                                                   (certificateFolder + "/server.key").toLocal8Bit().constData()))
    , mConfigPath(std::move(configPath))
    , mLog(log)
{
    serveManyConnectionsAtOnce(*mServer);
    const auto accountDetails = [this](const FormFields &fields, const ServiceConfig &config,
                                       const httplib::Request &request) {
        return accountDetailsReply(fields, config, request);
    };
    addXmlRoute("/cgi-bin/get_tarnix_ruvo_details_xml_ip.cgi", accountDetails);
    addXmlRoute("/cgi-bin/get_qlwin_ruvo_details_xml_ip.cgi", accountDetails);
    addXmlRoute("/cgi-bin/get_tarnix_ruvo_details_xml_ip_sync.cgi",
                [this](const FormFields &fields, const ServiceConfig &config, const httplib::Request &) {
                    return syncAccountReply(fields, config);
                });
    addXmlRoute("/cgi-bin/get_txsync_ruvo_details_xml_ip.cgi",
                [](const FormFields &fields, const ServiceConfig &config, const httplib::Request &) {
                    return syncDetailsReply(fields, config);
                });
    addTextRoute("GET", "/cgi-bin/tarnixe_get_email_qlsync_user_v1.cgi", kTextType,
                 [](const FormFields &fields, const ServiceConfig &config, const QString &) {
                     return emailLookupReply(fields, config);
                 });
    addTextRoute("POST", "/ruvo/configureAccount", kTextType,
                 [this](const FormFields &fields, const ServiceConfig &config, const QString &) {
                     return configureAccountReply(fields, config);
                 });
    addTextRoute("POST", "/tarnix/desktop/getToken", kTextType,
                 [this](const FormFields &fields, const ServiceConfig &config, const QString &) {
                     return tokenReply(fields, config);
                 });
    // The account's web page that a token opens in the browser.
    addTextRoute(
        "GET", "/tarnix/desktop/Auto", kHtmlType,
        [this](const FormFields &fields, const ServiceConfig &, const QString &) { return accountPageReply(fields); });
    // The version check: "Y" when the configuration names a newer version than the
    // one asked about, else "N".
    addTextRoute("GET", "/cgi-bin/check_version_upgrades_qlwin_new.cgi", kTextType,
                 [](const FormFields &fields, const ServiceConfig &config, const QString &) {
                     const QString asked = formValue(fields, QStringLiteral("version"));
                     const bool newer =
                         !config.latestVersion.isEmpty() &&
                         QVersionNumber::fromString(config.latestVersion) > QVersionNumber::fromString(asked);
                     return QByteArray(newer ? "Y\n" : "N\n");
                 });
    // The error report: stored in the request log; the client does not read the reply.
    addTextRoute(
        "POST", "/cgi-bin/Notify_unicode", kTextType,
        [](const FormFields &, const ServiceConfig &, const QString &) { return QByteArray("Report received"); });
}

StandInService::~StandInService() = default;

bool StandInService::isValid() const { return mServer->is_valid(); }

int StandInService::bind(int port) { return bindToLoopback(*mServer, port); }

bool StandInService::listen() { return mServer->listen_after_bind(); }

void StandInService::stop() { mServer->stop(); }

void StandInService::addXmlRoute(const char *path, XmlRoute route)
{
    mServer->Post(path, [this, route](const httplib::Request &request, httplib::Response &response) {
        serve(request, response, kXmlType,
              [&route, &request](const FormFields &fields, const ServiceConfig &config, const QString &mode) {
                  return renderXml(route(fields, config, request), mode != QLatin1String("nomessage"));
              });
    });
}

void StandInService::addTextRoute(const char *method, const char *path, const char *contentType, ReplyMaker reply)
{
    const auto handler = [this, contentType, reply](const httplib::Request &request, httplib::Response &response) {
        serve(request, response, contentType, reply);
    };
    if (std::string(method) == "GET")
        mServer->Get(path, handler);
    else
        mServer->Post(path, handler);
}

void StandInService::serve(const httplib::Request &request, httplib::Response &response, const char *contentType,
                           const ReplyMaker &reply)
{
    FormFields fields = parseFormFields(QByteArray::fromStdString(request.body));
    // The query of a GET request; a POST's form body (which the server also parses into params) is read above.
    if (request.method == "GET") {
        for (const auto &[name, value] : request.params)
            fields.append({QString::fromStdString(name), QString::fromStdString(value)});
    }
    mLog.append(describe(request, fields));

    QString error;
    const auto config = ServiceConfig::read(mConfigPath, &error);
    if (!config) {
        response.status = 500;
        response.set_content(error.toStdString(), kTextType);
        return;
    }
    const QString mode = config->failureFor(QString::fromStdString(request.path));
    if (mode == QLatin1String("slow"))
        std::this_thread::sleep_for(config->slowReply);
    if (mode == QLatin1String("unauthorized")) {
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"stand-in web service\"");
        response.set_content("Authorization required", kTextType);
        return;
    }
    if (mode == QLatin1String("error500")) {
        response.status = 500;
        response.set_content("Internal server error", kTextType);
        return;
    }
    if (mode == QLatin1String("redirect") && !request.has_param("redirected")) {
        // An earlier response with a body of its own, which must not reach the client's reply.
        response.status = 307;
        response.set_header("Location", request.path + "?redirected=1");
        response.set_content(kRedirectBody, contentType);
        return;
    }
    if (mode == QLatin1String("redirect-away")) {
        // Another origin, which must never receive the client's request (and its credentials).
        response.status = 307;
        response.set_header("Location", config->redirectAwayTarget.toStdString());
        return;
    }
    if (mode == QLatin1String("huge")) {
        response.set_content(std::string(3 * 1024 * 1024, ' ') + "<root message=\"SUCCESS\"/>", kXmlType);
        return;
    }
    if (mode == QLatin1String("trickle")) {
        // One byte every tenth of a second, for as long as the slow-reply time: never idle, never done.
        const auto until = std::chrono::steady_clock::now() + config->slowReply;
        response.set_chunked_content_provider(kXmlType, [until](size_t, httplib::DataSink &sink) {
            if (std::chrono::steady_clock::now() >= until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return sink.write(" ", 1);
        });
        return;
    }
    if (mode == QLatin1String("badxml")) {
        response.set_content(kMalformedXml, kXmlType);
        return;
    }
    const std::string body = reply(fields, *config, mode).toStdString();
    if (mode == QLatin1String("truncated")) {
        // Announces the whole length, sends the first half and drops the connection.
        response.set_content_provider(body.size(), contentType, [body](size_t, size_t, httplib::DataSink &sink) {
            sink.write(body.data(), body.size() / 2);
            return false;
        });
        return;
    }
    response.set_content(body, contentType);
}

std::optional<ServiceConfig::Account> StandInService::currentAccount(const ServiceConfig &config,
                                                                     const QString &username) const
{
    const ServiceConfig::Account *found = config.findAccount(username);
    if (!found)
        return std::nullopt;
    ServiceConfig::Account account = *found;
    std::lock_guard lock(mConfiguredMutex);
    const auto configured = mConfigured.find(username);
    if (configured != mConfigured.end()) {
        account.cnfgstat = QStringLiteral("SET");
        account.enctype = configured->second.first;
        account.pvtkey = configured->second.second;
    }
    return account;
}

std::optional<ServiceConfig::Account>
StandInService::signedInAccount(const ServiceConfig &config, const QString &username, const QString &password) const
{
    auto account = currentAccount(config, username);
    if (!account || account->password != password)
        return std::nullopt;
    return account;
}

StandInService::XmlReply StandInService::accountDetailsReply(const FormFields &fields, const ServiceConfig &config,
                                                             const httplib::Request &request) const
{
    const QString username = formValue(fields, "username");
    const auto account = currentAccount(config, username);
    if (!account)
        return {"login", {{"message", "FAILURE"}, failureMessage("user does not exist")}};
    if (account->password != formValue(fields, "password"))
        return {"login", {{"message", "FAILURE"}, failureMessage("passwords do not match")}};
    // The web server is this service itself, reached the way the client reached it.
    const QString webServer = QString::fromStdString(request.get_header_value("Host"));
    const QString address = QStringLiteral("127.0.0.1");
    XmlReply reply{"login",
                   {{"acctype", account->acctype},
                    {"accstat", account->accstat},
                    {"enctype", account->enctype.toUpper()},
                    {"cnfgstat", account->cnfgstat},
                    {"ruvosrvrip", account->ruvosrvrip.isEmpty() ? address : account->ruvosrvrip},
                    {"ruvosrvr", QStringLiteral("localhost")},
                    {"ruvowebsrvrip", webServer},
                    {"ruvowebsrvr", webServer},
                    {"quota", account->quota},
                    {"plan", account->plan},
                    {"jspsrvr", address}}};
    if (!account->email.isEmpty())
        reply.attributes.append({"EmailId", account->email});
    reply.attributes.append(account->attributes);
    return reply;
}

QByteArray StandInService::emailLookupReply(const FormFields &fields, const ServiceConfig &config)
{
    const auto accounts = config.accountsWithEmail(formValue(fields, "email"));
    if (accounts.empty())
        return "Not found\n";
    QString reply = QStringLiteral("Success:");
    for (const ServiceConfig::Account *account : accounts)
        reply += ' ' + account->username + (account->accstat == QLatin1String("C") ? ":Cancel" : ":Active");
    return (reply + '\n').toUtf8();
}

QByteArray StandInService::configureAccountReply(const FormFields &fields, const ServiceConfig &config)
{
    const QString username = formValue(fields, "uid");
    const auto account = signedInAccount(config, username, formValue(fields, "pwd"));
    const QString enctype = formValue(fields, "enctype");
    const QString pvtkey = formValue(fields, "pvtkey");
    if (!account || account->cnfgstat == QLatin1String("SET"))
        return "Encryption is already configured or the account is unknown";
    if (enctype != QLatin1String("default") && (enctype != QLatin1String("private") || pvtkey.isEmpty()))
        return "Invalid encryption type";
    std::lock_guard lock(mConfiguredMutex);
    mConfigured[username] = {enctype, enctype == QLatin1String("private") ? pvtkey : QString()};
    return kConfiguredText;
}

QByteArray StandInService::tokenReply(const FormFields &fields, const ServiceConfig &config)
{
    if (!signedInAccount(config, formValue(fields, "uid"), formValue(fields, "pwd")))
        return "FAILURE:Invalid username or password\n";
    const QString token = QString::fromLatin1(QUuid::createUuid().toByteArray(QUuid::Id128));
    if (formValue(fields, "op_type") == QLatin1String("share")) {
        QList<QPair<QString, QString>> items;
        for (const auto &[name, value] : fields) {
            const QString kind = name == QLatin1String("filePaths")     ? QStringLiteral("file")
                                 : name == QLatin1String("folderPaths") ? QStringLiteral("folder")
                                                                        : QString();
            if (kind.isEmpty())
                continue;
            if (value.size() < 2 || !value.startsWith(u'/'))
                return "FAILURE:Invalid item path\n";
            items.append({kind, value});
        }
        if (items.isEmpty())
            return "FAILURE:No items to share\n";
        std::lock_guard lock(mSharesMutex);
        mShares[token] = items;
    }
    return ("SUCCESS:" + token + '\n').toUtf8();
}

QByteArray StandInService::accountPageReply(const FormFields &fields) const
{
    QList<QPair<QString, QString>> shared;
    {
        std::lock_guard lock(mSharesMutex);
        const auto found = mShares.find(formValue(fields, "token"));
        if (found != mShares.end())
            shared = found->second;
    }
    if (shared.isEmpty())
        return "<html><body><h1>Your account</h1><p>Stand-in account page.</p></body></html>";
    QString page = QStringLiteral("<html><body><h1>Shared items</h1><ul>");
    for (const auto &[kind, path] : shared)
        page += QStringLiteral("<li>%1: %2</li>").arg(kind, path.toHtmlEscaped());
    return (page + QStringLiteral("</ul></body></html>")).toUtf8();
}

StandInService::XmlReply StandInService::syncAccountReply(const FormFields &fields, const ServiceConfig &config) const
{
    const XmlReply failure{"login", {{"message", "FAILURE"}, failureMessage("Invalid username or password")}};
    const auto account = signedInAccount(config, formValue(fields, "username"), formValue(fields, "password"));
    if (!account)
        return failure;
    const QString enctype = formValue(fields, "enctype");
    if (enctype != account->enctype)
        return {"login", {{"message", "FAILURE"}, failureMessage("Encryption type does not match the account")}};
    if (enctype == QLatin1String("private") && formValue(fields, "pvtkey") != account->pvtkey)
        return {"login", {{"message", "FAILURE"}, failureMessage("Invalid private key")}};
    XmlReply reply{"login", {{"message", "SUCCESS"}}};
    if (!account->usernameSync.isEmpty())
        reply.attributes.append({{"username_sync", account->usernameSync},
                                 {"password_sync", account->passwordSync},
                                 {"ruvosrvrip", account->ruvosrvrip}});
    return reply;
}

StandInService::XmlReply StandInService::syncDetailsReply(const FormFields &fields, const ServiceConfig &config)
{
    const ServiceConfig::SyncAccount *account = config.findSyncAccount(formValue(fields, "username"));
    if (!account || account->password != formValue(fields, "password") ||
        formValue(fields, "enctype") != QLatin1String("default"))
        return {"sync", {{"message", "FAILURE"}, failureMessage("Invalid sync username or password")}};
    return {"sync",
            {{"message", "SUCCESS"}, {"ruvosrvrip", account->ruvosrvrip}, {"ruvowebsrvrip", account->ruvowebsrvrip}}};
}

QByteArray StandInService::renderXml(const XmlReply &reply, bool withMessage)
{
    QString text = "<root><" + reply.element;
    for (const auto &[name, value] : reply.attributes)
        if (withMessage || name != QLatin1String("message"))
            text += ' ' + name + "=\"" + value.toHtmlEscaped() + '"';
    text += "/></root>";
    return text.toUtf8();
}
