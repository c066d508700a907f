#include "client/backup/cleanup/ArchiveCleanupRules.h"

#include <QFileInfo>
#include <QSet>

namespace ArchiveCleanupRules {

namespace {

bool existsLocally(const QString &path) { return QFileInfo::exists(path) || QFileInfo(path).isSymLink(); }

QString localPathOf(QString entry, const QString &computerFolder)
{
    if (!entry.startsWith('/'))
        entry.prepend('/');
    if (computerFolder.size() > 1 && entry.startsWith(computerFolder + '/'))
        entry.remove(0, computerFolder.size());
    return entry;
}

}  // namespace

bool isShareTooLarge(qsizetype candidates, qsizetype entries) { return 100 * candidates > 25 * entries; }

QStringList candidatesForCleanup(const QStringList &entries, const QString &computerFolder,
                                 const std::function<bool()> &cancelled)
{
    QStringList candidates;
    for (const QString &entry : entries) {
        if (cancelled && cancelled())
            break;
        const QString local = localPathOf(entry, computerFolder);
        if (!existsLocally(local))
            candidates.append(local);
    }
    return candidates;
}

QStringList acceptedItems(const QString &editedList, const QStringList &candidates)
{
    const QSet<QString> found(candidates.begin(), candidates.end());
    QSet<QString> taken;
    QStringList accepted;
    for (const QString &line : editedList.split('\n')) {
        if (!line.isEmpty() && found.contains(line) && !taken.contains(line) && !existsLocally(line)) {
            taken.insert(line);
            accepted.append(line);
        }
    }
    return accepted;
}

}  // namespace ArchiveCleanupRules
