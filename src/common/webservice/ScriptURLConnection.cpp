#include "common/webservice/ScriptURLConnection.h"

#include "common/webservice/RequestError.h"
#include "common/webservice/ScriptURLConnectionDelegate.h"
#include "common/webservice/WebServiceTransport.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

ScriptURLConnection::ScriptURLConnection() = default;

ScriptURLConnection::ScriptURLConnection(URLRequest request)
    : mRequest(std::move(request))
{}

ScriptURLConnection::~ScriptURLConnection() { stopLoading(); }

void ScriptURLConnection::startLoading()
{
    stopLoading();
    if (!mManager)
        mManager = WebServiceTransport::makeManager();
    mData.clear();
    mConnection = WebServiceTransport::send(*mManager, mRequest);
    connect(mConnection, &QNetworkReply::finished, this, &ScriptURLConnection::finished);
}

void ScriptURLConnection::stopLoading()
{
    if (!mConnection)
        return;
    QNetworkReply *connection = mConnection;
    mConnection = nullptr;
    connection->disconnect(this);
    connection->abort();
    connection->deleteLater();
}

void ScriptURLConnection::finished()
{
    QNetworkReply *connection = mConnection;
    mConnection = nullptr;
    connection->deleteLater();
    if (WebServiceTransport::failed(*connection)) {
        const RequestError error = RequestError::fromReply(*connection);
        if (mDelegate)
            mDelegate->connectionFailedWithError(error, this);
        return;
    }
    mData = connection->readAll();
    // The delegate may release this object, so nothing follows the call.
    if (mDelegate)
        mDelegate->ConnectionDidReceivedData(mData, this);
}

void ScriptURLConnectionDeleter::operator()(ScriptURLConnection *connection) const
{
    connection->setDelegate(nullptr);
    connection->stopLoading();
    connection->deleteLater();
}
