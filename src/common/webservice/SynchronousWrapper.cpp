#include "common/webservice/SynchronousWrapper.h"

#include "common/webservice/SynchronousWrapperDelegate.h"
#include "common/webservice/URLRequest.h"
#include "common/webservice/WebServiceTransport.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

SynchronousWrapper::SynchronousWrapper()
    : SynchronousWrapper(nullptr)
{}

SynchronousWrapper::SynchronousWrapper(SynchronousWrapperDelegate *delegate)
    : mDelegate(delegate)
    , mManager(WebServiceTransport::makeManager())
{
    connect(mManager.get(), &QNetworkAccessManager::proxyAuthenticationRequired, this,
            &SynchronousWrapper::proxyChallenge);
    connect(mManager.get(), &QNetworkAccessManager::authenticationRequired, this, &SynchronousWrapper::serverChallenge);
}

SynchronousWrapper::~SynchronousWrapper() = default;

void SynchronousWrapper::SetUserName(const QString &userName, const QString &password)
{
    mUserName = userName;
    mPassword = password;
}

void SynchronousWrapper::ConnectRequest(const URLRequest &request, std::optional<RequestError> *error)
{
    mProxyFailureCount = 0;
    mAuthError.reset();
    std::optional<RequestError> requestError;

    QEventLoop loop;
    mIterationRunLoop = &loop;
    asynchronousConnection = WebServiceTransport::send(*mManager, request);
    connect(asynchronousConnection, &QNetworkReply::metaDataChanged, this, [this] {
        if (mDelegate)
            mDelegate->didReceiveResponse(
                asynchronousConnection->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
    });
    connect(asynchronousConnection, &QNetworkReply::readyRead, this, [this] {
        const QByteArray data = asynchronousConnection->readAll();  // read even without a delegate: nothing is kept
        if (mDelegate)
            mDelegate->didReceiveData(data);
    });
    connect(asynchronousConnection, &QNetworkReply::finished, this,
            [this, &requestError] { requestError = finished(); });
    loop.exec();
    mIterationRunLoop = nullptr;

    if (requestError)
        mError = requestError;
    if (error)
        *error = requestError;
}

std::optional<RequestError> SynchronousWrapper::finished()
{
    QNetworkReply *connection = asynchronousConnection;
    asynchronousConnection = nullptr;
    connection->deleteLater();
    std::optional<RequestError> error;
    if (WebServiceTransport::failed(*connection))
        error = mAuthError ? *mAuthError : RequestError::fromReply(*connection);
    if (mDelegate) {
        if (error)
            mDelegate->didFailWithError(*error);
        else
            mDelegate->didFinishLoading();
    }
    mIterationRunLoop->quit();
    return error;
}

void SynchronousWrapper::proxyChallenge(const QNetworkProxy &proxy, QAuthenticator *authenticator)
{
    const bool haveCredentials = !mUserName.isEmpty() && !mPassword.isEmpty();
    if (haveCredentials && mProxyFailureCount < kProxyAnswers) {
        ++mProxyFailureCount;
        authenticator->setUser(mUserName);
        authenticator->setPassword(mPassword);
        return;
    }
    refuseChallenge(true, proxy.hostName(), proxy.port(), authenticator->realm());
}

void SynchronousWrapper::serverChallenge(QNetworkReply *reply, QAuthenticator *authenticator)
{
    // The stored credentials are the proxy's: a server asking for credentials is always refused.
    refuseChallenge(false, reply->url().host(), reply->url().port(), authenticator->realm());
}

void SynchronousWrapper::refuseChallenge(bool fromProxy, const QString &host, int port, const QString &realm)
{
    const QVariantMap challenge{{QStringLiteral("proxy"), fromProxy},
                                {QStringLiteral("host"), host},
                                {QStringLiteral("port"), port},
                                {QStringLiteral("realm"), realm},
                                {QStringLiteral("previousFailureCount"), fromProxy ? mProxyFailureCount : 0}};
    mAuthError = RequestError{kAuthErrorDomain,
                              kAuthErrorCode,
                              fromProxy ? QStringLiteral("The proxy refused the credentials")
                                        : QStringLiteral("The server asked for credentials"),
                              {{QStringLiteral("challenge"), challenge}}};
}
