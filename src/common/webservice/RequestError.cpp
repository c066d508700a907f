#include "common/webservice/RequestError.h"

#include "common/webservice/WebServiceTransport.h"

#include <QNetworkReply>

RequestError RequestError::fromReply(QNetworkReply &reply)
{
    const QString aborted = WebServiceTransport::abortReason(reply);
    // A reply ended by a limit after it had already arrived carries no network error of its own.
    const int code = reply.error() == QNetworkReply::NoError && !aborted.isEmpty()
                         ? QNetworkReply::OperationCanceledError
                         : reply.error();
    RequestError error{kNetworkDomain, code, aborted.isEmpty() ? reply.errorString() : aborted, {}};
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        error.userInfo.insert(QStringLiteral("httpStatus"), status);
    error.userInfo.insert(QStringLiteral("url"), reply.url().toString());
    return error;
}
