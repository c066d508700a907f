#pragma once

#include <QString>
#include <QVariantMap>

class QNetworkReply;

// Why a web-service request failed: a domain, a code within it, a readable
// description and details under named keys.
struct RequestError
{
    QString domain;
    int code = 0;
    QString description;
    QVariantMap userInfo;

    // The error domain of transport failures, with the network layer's error code.
    static inline const QString kNetworkDomain = QStringLiteral("Network error");

    // The failure of a finished reply: transport, TLS, time-out, or an HTTP status of 400 and above.
    static RequestError fromReply(QNetworkReply &reply);
};
