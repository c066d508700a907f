#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Pure decisions of a rename in the destination tree.
namespace RenameRules {

enum class NameCheck
{
    Rename,     // start the rename
    Unchanged,  // empty or the same name: nothing starts, nothing is said
    Refused     // a name that would move the item or collide: nothing starts, the user is told
};

inline const QString kRefusedNameText =
    QStringLiteral("A name cannot be \".\" or \"..\", or hold \"/\". Choose another name.");
inline const QString kTakenNameText = QStringLiteral("An item with the name \"%1\" already exists in this folder.");

// What an edited name leads to. The name stays as typed (no trimming): stored
// names may begin or end with blanks.
//   ("", "a") and ("a", "a") -> Unchanged; ("x/y", "a"), ("..", "a"), ("a\0b", "a") -> Refused;
//   ("b", "a", siblings [b]) -> Refused; ("b", "a") -> Rename
NameCheck checkNewName(const QString &newName, const QString &oldName, const QStringList &siblingNames);

// The message of a refused name ("" for the other outcomes).
QString refusalText(const QString &newName, const QStringList &siblingNames);

// The "/"-prefixed path the item gets: its parent's path joined with the new name.
//   ("/Office/docs", "papers") -> "/Office/papers"
QString renamedPath(const QString &oldPath, const QString &newName);

// Whether a folder may open while items are renamed: not the renamed items
// ("/"-prefixed paths) themselves, nor anything below them, by whole path components.
//   "docs" with ["/docs"] -> false; "docs/sub" -> false; "docs2" -> true
bool mayExpand(const QString &treePath, const QSet<QString> &renaming);

}  // namespace RenameRules
