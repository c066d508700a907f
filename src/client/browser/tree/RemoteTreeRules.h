#pragma once

#include "client/browser/tree/RemoteEntry.h"

#include <QList>
#include <QString>

class User;

// Pure decisions of the destination tree: which listed items become rows, with
// what texts and in which order, and where the user's stored data lies.
namespace RemoteTreeRules {

// One row to make under a listed folder.
struct ListedNode
{
    QString fullPath;  // the folder's path joined with the name; no leading "/"
    bool isFolder = false;
    QString sizeText;  // "-" for a folder
    QString modificationDate;
    QString versionText;
    int checkState = 0;  // the parent's when it is on, else off

    bool operator==(const ListedNode &) const = default;
};

// Whether a listed name shows: names starting with "." only when hidden files
// are shown, and the attribute lists ("….txxlist") never.
//   ".profile" -> false, or true with showHidden; ".__Documents.txxlist" -> false either way
bool isShown(const QString &name, bool showHidden);

// The rows of a folder's listing, in tree order: "BackUp_nightly…" first, folders
// before files, then by name ignoring case. Files show their size
// ("1.50 KB"), folders "-".
//   parent "Office", parent state 1, [b.txt 10, a/] -> Office/a (folder, "-", 1), Office/b.txt ("10 B", 1)
QList<ListedNode> nodesFromListing(const QList<RemoteEntry> &entries, const QString &parentPath, int parentState,
                                   bool showHidden);

// The name a row shows: a nightly backup's folder of an account without a storage
// server names the account's login name where its stored name has the user name.
//   "BackUp_nightly_u123", user "u123", login "ann" -> "BackUp_nightly_ann"
QString shownName(const QString &name, const User &account);

// The user's data root on the drive: "<volume>/TarnixVidezud/<user>" (the sync
// user in the first brand's sync mode), "<volume>/QuellonVidezud/<user>" in the
// second brand; "" when no drive is chosen or the user's name is missing.
QString dataRoot(const QString &volumePath, const User &account, bool backupMode);

// Whether a path is the folder's own or lies below it, by whole components.
//   ("docs", "docs") and ("docs/a", "docs") -> true; ("docs2", "docs") -> false
bool isAtOrBelow(const QString &path, const QString &folder);

// A path below a renamed folder: its leading folder part is replaced, nothing further in.
//   ("a/x/a/y", "a", "b") -> "b/x/a/y"; ("a", "a", "b") -> "b"; ("ab/x", "a", "b") -> "ab/x"
QString rekeyedPath(const QString &path, const QString &oldFolder, const QString &newFolder);

}  // namespace RemoteTreeRules
