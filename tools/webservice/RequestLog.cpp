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
    // Only its owner may read it: it shows who logged in, and when.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (file.open(QIODevice::WriteOnly | QIODevice::Append, ownerOnly) && file.setPermissions(ownerOnly))
        file.write(line);
}
