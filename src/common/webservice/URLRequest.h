#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QUrl>

#include <chrono>

// One HTTP(S) request as the web-service client builds it, before it is sent.
struct URLRequest {
    QUrl url;
    QByteArray method = "GET";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Longest wait without any transfer before the request fails; zero keeps the platform's default.
    std::chrono::milliseconds timeout{0};
    // Always go to the network, never answer from a local cache.
    bool ignoreLocalCache = false;
};
