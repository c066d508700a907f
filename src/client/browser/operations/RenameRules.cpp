#include "client/browser/operations/RenameRules.h"

#include "client/browser/tree/RemoteTreeRules.h"

namespace {

bool movesTheItem(const QString &name)
{
    return name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/')) ||
           name.contains(QChar(0));
}

}  // namespace

namespace RenameRules {

NameCheck checkNewName(const QString &newName, const QString &oldName, const QStringList &siblingNames)
{
    if (newName.isEmpty() || newName == oldName)
        return NameCheck::Unchanged;
    if (movesTheItem(newName))
        return NameCheck::Refused;
    // The index tells names apart without regard to ASCII case: "Notes" would collide with "notes".
    for (const QString &sibling : siblingNames) {
        if (sibling != oldName && sibling.compare(newName, Qt::CaseInsensitive) == 0)
            return NameCheck::Refused;
    }
    return NameCheck::Rename;
}

QString refusalText(const QString &newName, const QStringList &siblingNames)
{
    if (movesTheItem(newName))
        return kRefusedNameText;
    for (const QString &sibling : siblingNames) {
        if (sibling.compare(newName, Qt::CaseInsensitive) == 0)
            return kTakenNameText.arg(sibling);
    }
    return {};
}

QString renamedPath(const QString &oldPath, const QString &newName)
{
    return oldPath.left(oldPath.lastIndexOf(QLatin1Char('/')) + 1) + newName;
}

bool mayExpand(const QString &treePath, const QSet<QString> &renaming)
{
    const QString path = QLatin1Char('/') + treePath;
    for (const QString &renamed : renaming) {
        if (RemoteTreeRules::isAtOrBelow(path, renamed))
            return false;
    }
    return true;
}

}  // namespace RenameRules
