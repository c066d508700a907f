#include "webservice/RequestLog.h"

#include <QFile>
#include <QJsonDocument>

void RequestLog::append(const QJsonObject &entry)
{
    if (mPath.isEmpty())
        return;
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    std::lock_guard lock(mMutex);
    QFile file(mPath);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line);
}
