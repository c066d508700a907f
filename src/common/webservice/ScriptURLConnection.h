#pragma once

#include "common/webservice/URLRequest.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class ScriptURLConnectionDelegate;

// Runs one asynchronous HTTPS request on the calling thread's event loop and
// hands the whole reply, or the failure, to its delegate. The reply body is
// that of the final response only: nothing of an earlier response (a redirect)
// is mixed into it.
class ScriptURLConnection : public QObject
{
    Q_OBJECT

public:
    static inline const QString kXMLFormat = QStringLiteral("XMLFORMAT");
    static inline const QString kJSONFormat = QStringLiteral("JSONFORMAT");

    ScriptURLConnection();
    explicit ScriptURLConnection(URLRequest request);
    ~ScriptURLConnection() override;

    void setDelegate(ScriptURLConnectionDelegate *delegate) { mDelegate = delegate; }
    ScriptURLConnectionDelegate *delegate() const { return mDelegate; }
    void setOutPutFormat(const QString &format) { mOutputFormat = format; }
    QString outPutFormat() const { return mOutputFormat; }
    bool isOutPutInJSONFormat() const { return mOutputFormat == kJSONFormat; }

    const URLRequest &request() const { return mRequest; }
    void setRequest(const URLRequest &request) { mRequest = request; }
    // The reply body once the request has finished.
    const QByteArray &data() const { return mData; }

    // Starts the request; its end reaches the delegate on this thread.
    void startLoading();
    // Cancels the request; the delegate hears nothing more of it.
    void stopLoading();

private:
    void finished();

    URLRequest mRequest;
    std::unique_ptr<QNetworkAccessManager> mManager;
    QPointer<QNetworkReply> mConnection;
    QByteArray mData;
    QString mOutputFormat;
    ScriptURLConnectionDelegate *mDelegate = nullptr;
};

// Releases a connection that may be the one calling back: it loses its delegate
// at once and goes once the callback has returned.
struct ScriptURLConnectionDeleter
{
    void operator()(ScriptURLConnection *connection) const;
};
using ScriptURLConnectionPtr = std::unique_ptr<ScriptURLConnection, ScriptURLConnectionDeleter>;
