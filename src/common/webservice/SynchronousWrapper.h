#pragma once

#include "common/webservice/RequestError.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QAuthenticator;
class QEventLoop;
class QNetworkAccessManager;
class QNetworkProxy;
class QNetworkReply;
class SynchronousWrapperDelegate;
struct URLRequest;

// Runs one request and blocks its caller until the request has finished or
// failed, running the caller's event loop meanwhile so that its windows stay
// drawn. A proxy's request for credentials is answered with the stored ones
// at most kProxyAnswers times; any other request for credentials fails the
// request with the error "Auth error" 1001. One wrapper serves one request.
class SynchronousWrapper : public QObject
{
    Q_OBJECT

public:
    static inline const QString kAuthErrorDomain = QStringLiteral("Auth error");
    static constexpr int kAuthErrorCode = 1001;
    static constexpr int kProxyAnswers = 3;

    SynchronousWrapper();
    explicit SynchronousWrapper(SynchronousWrapperDelegate *delegate);
    ~SynchronousWrapper() override;

    // The proxy credentials with which a proxy challenge is answered.
    void SetUserName(const QString &userName, const QString &password);

    // Runs the request to its end. When error is given it receives the request's
    // failure, or nothing after a success. The reply itself goes only to the delegate.
    void ConnectRequest(const URLRequest &request, std::optional<RequestError> *error);

    // The failure of the last request that failed.
    const std::optional<RequestError> &lastError() const { return mError; }

private:
    void proxyChallenge(const QNetworkProxy &proxy, QAuthenticator *authenticator);
    void serverChallenge(QNetworkReply *reply, QAuthenticator *authenticator);
    // Leaves the challenge unanswered, so the request fails, and keeps the error it fails with.
    void refuseChallenge(bool fromProxy, const QString &host, int port, const QString &realm);
    // Ends the request: tells the delegate, stops the waiting loop and returns the failure, if any.
    std::optional<RequestError> finished();

    SynchronousWrapperDelegate *mDelegate = nullptr;
    QString mUserName;
    QString mPassword;
    std::unique_ptr<QNetworkAccessManager> mManager;
    QNetworkReply *asynchronousConnection = nullptr;
    QEventLoop *mIterationRunLoop = nullptr;
    int mProxyFailureCount = 0;  // proxy challenges of this request answered so far
    std::optional<RequestError> mAuthError;
    std::optional<RequestError> mError;
};
