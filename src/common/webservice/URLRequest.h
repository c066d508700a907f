#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <chrono>

// One HTTP(S) request as the web-service client builds it, before it is sent.
struct URLRequest
{
    // Header names every form post of the programs sets.
    static constexpr const char *kUserAgentHeader = "User-Agent";
    static constexpr const char *kContentTypeHeader = "Content-Type";

    // The largest reply taken unless a request says otherwise; the text read from a reply is capped alike.
    static constexpr qint64 kDefaultMaxReplyBytes = 1024 * 1024;

    QUrl url;
    QByteArray method = "GET";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Longest wait without any transfer before the request fails.
    std::chrono::milliseconds timeout{20000};
    // Longest time for the whole request, however steadily bytes trickle in.
    std::chrono::milliseconds totalTimeout{60000};
    // The largest reply taken; a larger one fails the request.
    qint64 maxReplyBytes = kDefaultMaxReplyBytes;
    // Plain HTTP is refused (the request fails) unless a test's stand-in asks for it.
    bool allowPlainHttp = false;
    // Always go to the network, never answer from a local cache.
    bool ignoreLocalCache = false;
};
