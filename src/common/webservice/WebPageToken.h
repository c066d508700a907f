#pragma once

#include "common/webservice/ScriptURLConnection.h"
#include "common/webservice/ScriptURLConnectionDelegate.h"

#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

// Opens one of the account's web pages: asks the account web service for a
// one-time token ("SUCCESS:<token>") and opens the page with it in the
// browser. A failed request or any other reply opens nothing and says nothing.
class WebPageToken : public ScriptURLConnectionDelegate
{
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{20000};

    explicit WebPageToken(std::function<void(const QUrl &)> openURL,
                          std::chrono::milliseconds timeout = kRequestTimeout);
    ~WebPageToken() override;

    // A stored item to share: its path below the data root, without a leading "/".
    struct SharedItem
    {
        QString path;
        bool isFolder = false;
    };

    // opType: "upgrade", "account", ...; a new request replaces a pending one.
    void request(const QString &userName, const QString &password, const QString &opType);
    // The share link of stored items: op_type "share" with a "filePaths" or
    // "folderPaths" field for each item.
    void requestShare(const QString &userName, const QString &password, const QList<SharedItem> &items);

    // The form bodies of the two requests; every value escaped as a form value.
    static QByteArray requestBody(const QString &userName, const QString &password, const QString &opType);
    static QByteArray shareBody(const QString &userName, const QString &password, const QList<SharedItem> &items);

    // The page a token reply opens; none for any reply but "SUCCESS:<token>".
    static std::optional<QUrl> pageForReply(const QByteArray &reply);

    void ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection) override;
    void connectionFailedWithError(const RequestError &error, ScriptURLConnection *connection) override;

private:
    void send(const QByteArray &body);

    std::function<void(const QUrl &)> mOpenURL;
    std::chrono::milliseconds mTimeout;
    ScriptURLConnectionPtr getAccessTokenConnection;
};
