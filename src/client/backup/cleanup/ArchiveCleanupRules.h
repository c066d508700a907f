#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What the archive cleanup may delete: stored items whose local file is gone,
// never more than a quarter of what the set holds on the drive, and after the
// user's edit only what the scan found.
namespace ArchiveCleanupRules {

// The cleanup refuses when the candidates are more than 25% of the entries: 100 × C > 25 × N.
bool isShareTooLarge(qsizetype candidates, qsizetype entries);

// The local paths of index entries whose file or folder no longer exists, in
// the entries' order. An entry is its computer folder followed by the local
// path; the folder is taken off only as a leading component. Stops early when
// cancelled answers true.
QStringList candidatesForCleanup(const QStringList &entries, const QString &computerFolder,
                                 const std::function<bool()> &cancelled = {});

// The items of the user's edited list that may be deleted: non-empty lines that
// were among the scan's candidates and whose local item is still missing. An
// edit can only shrink the list.
QStringList acceptedItems(const QString &editedList, const QStringList &candidates);

}  // namespace ArchiveCleanupRules
