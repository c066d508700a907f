#include "webservice/ServiceConfig.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

ServiceConfig::Account readAccount(const QJsonObject &object)
{
    ServiceConfig::Account account;
    account.username = object.value("username").toString();
    account.password = object.value("password").toString();
    account.enctype = object.value("enctype").toString(QStringLiteral("default"));
    account.pvtkey = object.value("pvtkey").toString();
    account.usernameSync = object.value("username_sync").toString();
    account.passwordSync = object.value("password_sync").toString();
    account.ruvosrvrip = object.value("ruvosrvrip").toString();
    account.acctype = object.value("acctype").toString(account.acctype);
    account.accstat = object.value("accstat").toString(account.accstat);
    account.cnfgstat = object.value("cnfgstat").toString(account.cnfgstat);
    account.email = object.value("email").toString();
    account.quota = object.value("quota").toString();
    account.plan = object.value("plan").toString();
    const QJsonObject attributes = object.value("attributes").toObject();
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        account.attributes.append({it.key(), it.value().toString()});
    return account;
}

ServiceConfig::SyncAccount readSyncAccount(const QJsonObject &object)
{
    return {object.value("username").toString(), object.value("password").toString(),
            object.value("ruvosrvrip").toString(), object.value("ruvowebsrvrip").toString()};
}

}  // namespace

QString ServiceConfig::failureFor(const QString &path) const
{
    for (const auto &[failurePath, mode] : failures)
        if (failurePath == path)
            return mode;
    return {};
}

const ServiceConfig::Account *ServiceConfig::findAccount(const QString &username) const
{
    for (const Account &account : accounts)
        if (account.username == username)
            return &account;
    return nullptr;
}

std::vector<const ServiceConfig::Account *> ServiceConfig::accountsWithEmail(const QString &email) const
{
    std::vector<const Account *> found;
    for (const Account &account : accounts)
        if (!account.email.isEmpty() && account.email.compare(email, Qt::CaseInsensitive) == 0)
            found.push_back(&account);
    return found;
}

const ServiceConfig::SyncAccount *ServiceConfig::findSyncAccount(const QString &username) const
{
    for (const SyncAccount &account : syncAccounts)
        if (account.username == username)
            return &account;
    return nullptr;
}

std::optional<ServiceConfig> ServiceConfig::read(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + ": " + file.errorString();
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = path + ": " + (parseError.error ? parseError.errorString() : QStringLiteral("not a JSON object"));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    ServiceConfig config;
    for (const QJsonValue &value : root.value("accounts").toArray())
        config.accounts.push_back(readAccount(value.toObject()));
    for (const QJsonValue &value : root.value("syncAccounts").toArray())
        config.syncAccounts.push_back(readSyncAccount(value.toObject()));
    const QJsonObject failures = root.value("failures").toObject();
    for (auto it = failures.begin(); it != failures.end(); ++it)
        config.failures.emplace_back(it.key(), it.value().toString());
    config.redirectAwayTarget = root.value("redirectAwayTarget").toString();
    config.latestVersion = root.value("latestVersion").toString();
    if (root.contains("slowReplyMs"))
        config.slowReply = std::chrono::milliseconds(root.value("slowReplyMs").toInteger());
    return config;
}
