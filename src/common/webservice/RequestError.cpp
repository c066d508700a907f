#include "common/webservice/RequestError.h"

#include "common/webservice/WebServiceTransport.h"

#include <QNetworkReply>

RequestError RequestError::fromReply(QNetworkReply &reply)
{
    const QString aborted = WebServiceTransport::abortReason(reply);
    RequestError error{kNetworkDomain, reply.error(), aborted.isEmpty() ? reply.errorString() : aborted, {}};
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        error.userInfo.insert(QStringLiteral("httpStatus"), status);
    error.userInfo.insert(QStringLiteral("url"), reply.url().toString());
    return error;
}
