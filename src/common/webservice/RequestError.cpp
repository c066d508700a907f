#include "common/webservice/RequestError.h"

#include <QNetworkReply>

RequestError RequestError::fromReply(QNetworkReply &reply)
{
    RequestError error{kNetworkDomain, reply.error(), reply.errorString(), {}};
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid())
        error.userInfo.insert(QStringLiteral("httpStatus"), status);
    error.userInfo.insert(QStringLiteral("url"), reply.url().toString());
    return error;
}
