#include "index/journals/JournalFiles.h"

#include "platform/PathStandardizer.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSet>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

const QString kJournalTimeFormat = QStringLiteral("yyyy-MM-dd HH.mm.ss +0000");
const QString kJournalExtension = QStringLiteral(".qlt");

// Process-wide on purpose: journal names must differ between every writer of
// the process, and a journal left unfinished by one writer is finished by the next.
std::atomic<qint64> gSequence{0};

std::mutex gStrandedLock;
QSet<QString> gStranded;  // journals whose finishing rename failed; guarded by gStrandedLock

bool renameToFinished(const QString &progressPath)
{
    const QString finished = progressPath.chopped(qsizetype(strlen(JournalFiles::kProgressExtension)));
    return QFile::rename(progressPath, finished);
}

}  // namespace

QString JournalFiles::newJournalPath(const QString &folder)
{
    const qint64 sequence = ++gSequence;
    const QString time = QDateTime::currentDateTimeUtc().toString(kJournalTimeFormat);
    const QString name = QStringLiteral("%1_%2%3%4").arg(time).arg(sequence).arg(kJournalExtension, QLatin1String(kProgressExtension));
    return standardizePath(QDir(folder).filePath(name));
}

void JournalFiles::finish(const QString &progressPath)
{
    std::lock_guard lock(gStrandedLock);
    gStranded.insert(progressPath);
    for (auto it = gStranded.begin(); it != gStranded.end();) {
        if (renameToFinished(*it) || !QFile::exists(*it)) {
            it = gStranded.erase(it);
            continue;
        }
        qWarning().noquote() << "journal could not be finished, will retry:" << *it;
        ++it;
    }
}
