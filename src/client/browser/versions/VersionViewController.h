#pragma once

#include "common/transfer/FileSystemNode.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class VersionView;

// The version pane without its widgets: the versions of one stored file as the
// engine listed them, the caption, the busy state, the file's server path and
// the row the user selected. The table's values come from here.
class VersionViewController : public QObject
{
    Q_OBJECT

public:
    // The table's columns, by their identifiers "versions", "size" and "mod".
    enum Column
    {
        VersionsColumn,
        SizeColumn,
        ModColumn,
        ColumnCount
    };

    static inline const QString kCaptionFormat = QStringLiteral("Versions of file: %1");
    static inline const QString kFetchFailedText = QStringLiteral("Unable to fetch versions. Try again.");

    void setView(VersionView *view) { mView = view; }
    // The close button: the embedding page takes the pane out.
    void setCloseAction(std::function<void()> close) { mClose = std::move(close); }

    const QList<FileSystemNode> &versions() const { return mVersionsArray; }
    void setVersionsArray(const QList<FileSystemNode> &versions);
    void removeAllVersionsArray();
    // A cell's text: the version number, its size text or its date text as the
    // engine gave it; "" past the end of the list.
    QString objectValue(int row, Column column) const;

    QString fileLabel() const { return mFileLabel; }
    void setFileLabel(const QString &text);
    bool isVersionHistoryProgressShown() const { return mProgressShown; }
    void setHiddenVersionHistoryProgress(bool hidden);

    QString versionFilePath() const { return mVersionFilePath; }
    void setVersionFilepath(const QString &path) { mVersionFilePath = path; }

    // The table's selection, as its view reports it.
    void setSelectedRows(const QList<int> &rows);
    bool isVersionTableRowSelected() const { return getSelectedRowsCount() > 0; }
    int getSelectedRowsCount() const { return int(mSelectedRows.size()); }
    // The first selected row still in the list.
    std::optional<FileSystemNode> selectedVersion() const;

    void toggle();

private:
    VersionView *mView = nullptr;
    std::function<void()> mClose;
    QList<FileSystemNode> mVersionsArray;
    QList<int> mSelectedRows;
    QString mFileLabel;
    QString mVersionFilePath;
    bool mProgressShown = false;
};
