#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <chrono>
#include <optional>
#include <vector>

// The stand-in's accounts and behaviour, read from the JSON file it is given.
// The file is read again for every request, so it can be edited while the
// service runs.
struct ServiceConfig
{
    struct Account
    {
        QString username;
        QString password;
        QString enctype = QStringLiteral("default");  // "default" or "private"
        QString pvtkey;                               // the private key of a "private" account
        QString usernameSync;                         // empty: no sync account is linked
        QString passwordSync;
        QString ruvosrvrip;
        // The account details ("QLSYNC" unless set): kind, status ("A" active, "C", "E", "M"),
        // encryption set-up state ("SET" or "NOT SET") and the further values of the reply.
        QString acctype = QStringLiteral("QLSYNC");
        QString accstat = QStringLiteral("A");
        QString cnfgstat = QStringLiteral("SET");
        QString email;
        QString quota;
        QString plan;
        // Further reply attributes, as given (older account kinds carry their servers here).
        QList<QPair<QString, QString>> attributes;
    };
    struct SyncAccount
    {
        QString username;
        QString password;
        QString ruvosrvrip;
        QString ruvowebsrvrip;
    };

    std::vector<Account> accounts;
    std::vector<SyncAccount> syncAccounts;
    // Failure modes by request path ("slow", "badxml", "nomessage", "unauthorized", "error500", "truncated").
    std::vector<std::pair<QString, QString>> failures;
    std::chrono::milliseconds slowReply{30000};
    // The newest version the version check knows; empty: whatever a program runs is the latest.
    QString latestVersion;
    // Where the "redirect-away" mode sends the client: another origin.
    QString redirectAwayTarget;

    // The failure mode configured for a path, empty when it is served normally.
    QString failureFor(const QString &path) const;

    const Account *findAccount(const QString &username) const;
    // The accounts registered under an e-mail address (letter case ignored), in file order.
    std::vector<const Account *> accountsWithEmail(const QString &email) const;
    const SyncAccount *findSyncAccount(const QString &username) const;

    // Nothing when the file cannot be read or is not the expected JSON; the reason goes to error.
    static std::optional<ServiceConfig> read(const QString &path, QString *error);
};
