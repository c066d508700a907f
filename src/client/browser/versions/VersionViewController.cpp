#include "client/browser/versions/VersionViewController.h"

#include "client/browser/versions/VersionView.h"

void VersionViewController::setVersionsArray(const QList<FileSystemNode> &versions)
{
    mVersionsArray = versions;
    // The rows the selection named are gone.
    mSelectedRows.clear();
    if (mView)
        mView->reloadVersionView();
}

void VersionViewController::removeAllVersionsArray() { setVersionsArray({}); }

QString VersionViewController::objectValue(int row, Column column) const
{
    if (row < 0 || row >= mVersionsArray.size())
        return QStringLiteral("");
    const FileSystemNode &version = mVersionsArray.at(row);
    switch (column) {
    case VersionsColumn:
        return version.version;
    case SizeColumn:
        return version.size;
    case ModColumn:
        return version.modificationDate;
    default:
        return QStringLiteral("");
    }
}

void VersionViewController::setFileLabel(const QString &text)
{
    mFileLabel = text;
    if (mView)
        mView->showFileLabel(text);
}

void VersionViewController::setHiddenVersionHistoryProgress(bool hidden)
{
    mProgressShown = !hidden;
    if (mView)
        mView->setVersionHistoryProgressShown(!hidden);
}

void VersionViewController::setSelectedRows(const QList<int> &rows) { mSelectedRows = rows; }

std::optional<FileSystemNode> VersionViewController::selectedVersion() const
{
    for (int row : mSelectedRows)
        if (row >= 0 && row < mVersionsArray.size())
            return mVersionsArray.at(row);
    return std::nullopt;
}

void VersionViewController::toggle()
{
    if (mClose)
        mClose();
}
