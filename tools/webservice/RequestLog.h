#pragma once

#include <QJsonObject>
#include <QString>

#include <mutex>

// Appends one JSON object per line for every request the stand-in receives,
// so that tests and people can see what the client really sent. Callers mask
// secrets (SecretMask); the file is readable by its owner only (0600).
class RequestLog
{
public:
    explicit RequestLog(QString path)
        : mPath(std::move(path))
    {}

    void append(const QJsonObject &entry);

private:
    QString mPath;  // empty: nothing is logged
    std::mutex mMutex;
};
