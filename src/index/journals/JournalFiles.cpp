#include "index/journals/JournalFiles.h"

#include "index/sqlite/FMDatabase.h"
#include "platform/PathStandardizer.h"
#include "platform/ProcessTable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

namespace {

const QString kJournalTimeFormat = QStringLiteral("yyyy-MM-dd HH.mm.ss +0000");
const QString kJournalExtension = QStringLiteral(".qlt");
// Names already taken are skipped; far more than writers ever start in one second.
constexpr int kNameAttempts = 1000;

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

// The process id in a journal's name; none for a name without one.
std::optional<qint64> writerOf(const QString &progressName)
{
    static const QRegularExpression form(QStringLiteral(R"(_\d+-(\d+)\.qlt\.progress$)"));
    const QRegularExpressionMatch match = form.match(progressName);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

}  // namespace

QString JournalFiles::createJournal(const QString &folder)
{
    const qint64 pid = QCoreApplication::applicationPid();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const qint64 sequence = ++gSequence;
        const QString time = QDateTime::currentDateTimeUtc().toString(kJournalTimeFormat);
        const QString name = QStringLiteral("%1_%2-%3%4%5")
                                 .arg(time)
                                 .arg(sequence)
                                 .arg(pid)
                                 .arg(kJournalExtension, QLatin1String(kProgressExtension));
        const QString path = PathStandardizer::standardizePath(QDir(folder).filePath(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists())
            return QString();
    }
    return QString();
}

void JournalFiles::finishAbandoned(const QString &folder)
{
    const QString pattern = QStringLiteral("*") + kJournalExtension + QLatin1String(kProgressExtension);
    for (const QString &name : QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden)) {
        const std::optional<qint64> writer = writerOf(name);
        if (writer && ProcessTable::process(*writer))
            continue;
        const QString path = QDir(folder).filePath(name);
        {
            // The first read rolls back what the writer left half done.
            FMDatabase journal(path);
            if (journal.openWithFlags(FMDatabase::kOpenExistingFlags))
                journal.goodConnection();
        }
        finish(path);
    }
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
