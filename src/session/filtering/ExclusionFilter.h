#pragma once

#include "session/filtering/NamePattern.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// The user's exclusion settings applied to one batch of found paths: default
// exclusions (system locations), the user's own (files and folders), partial
// names (wildcards over the whole path) and, when asked, hidden items. Built
// anew for every batch, so a change saved during a session counts from the next batch.
class ExclusionFilter
{
public:
    struct Settings
    {
        QVariantMap defaults;  // "Default Exclusion": path -> selected
        QVariantMap user;      // "User specified Exclusion": path -> selected
        QVariantMap partial;   // "Partial File Exclusion": pattern -> selected
        bool excludeHidden = false;
    };

    // The settings of the user, and the hidden-items switch, from the monitor's
    // preference file; empty settings when there are none.
    static Settings read(const QString &userName);

    // volumesRoot: where other drives are mounted; the default rules never reach below it.
    // homeFolder: the user's home; the default rules (system places such as /home or
    // /var) never take it, what is inside it or the folders leading to it, as the
    // client's tree shows them.
    ExclusionFilter(Settings settings, const QString &volumesRoot, const QString &homeFolder = {});

    struct Result
    {
        QStringList accepted;
        QStringList skipped;  // excluded or listed twice; in input order
        QStringList unfit;    // names that cannot travel in a list (kLineBreakReason); never excluded by the user
    };
    static inline const QString kLineBreakReason = QStringLiteral("name holds a line break");
    Result getBackupSetAfterFiltration(const QStringList &paths) const;

    bool shouldExcludeUserFile(const QString &path) const;
    bool shouldExcludeHiddenFile(const QString &path) const;
    bool shouldExcludeDefaultFile(const QString &path) const;
    bool hasRootStarInExcludeList() const;

    // A name holding a line break cannot travel as one line of a list block.
    static bool hasLineBreak(const QString &path);

    // The combined entries, for the trace of a pass with partial names.
    QStringList combinedKeys() const;

private:
    // A folder entry with the prefix of everything inside it.
    struct FolderEntry
    {
        QString path;
        QString inside;  // path ending in "/"
    };
    static FolderEntry folderEntry(const QString &path);

    bool isExcludedOutright(const QString &path) const;
    bool isUnderVolumes(const QString &path) const;
    bool isAtOrAroundHome(const QString &path) const;

    // Everything below is prepared once, in the constructor, for the whole batch.
    Settings mSettings;
    QString mVolumesRoot;
    QString mHomeFolder;
    std::vector<NamePattern> mPatterns;     // one per partial-name entry
    std::vector<FolderEntry> mUserFolders;  // the selected user entries that are folders
    std::vector<FolderEntry> mSelectedDefaults;
    QStringList mCombinedKeys;
    QSet<QString> mCombinedKeySet;
    bool mCombinedHasRoot = false;
    bool mRootStar = false;
};
