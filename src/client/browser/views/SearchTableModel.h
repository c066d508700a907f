#pragma once

#include "client/browser/search/SearchResults.h"

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>

class SearchController;

// The search results for a table view: "Name" (the row's check box, its file
// type's icon and its full path), "Size", "File Version" and "Modified date".
// Rows are added as the search delivers them; the date is rewritten only for
// the rows the view draws.
class SearchTableModel : public QAbstractTableModel, private SearchResultsObserver
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn = 0,
        SizeColumn,
        VersionColumn,
        DateColumn,
        ColumnCount
    };

    explicit SearchTableModel(SearchController &controller, QObject *parent = nullptr);
    ~SearchTableModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void resultsWillReset() override { beginResetModel(); }
    void resultsDidReset() override { endResetModel(); }
    void rowsWillAppend(qsizetype first, qsizetype count) override;
    void rowsDidAppend() override { endInsertRows(); }
    void rowsWillRemove(qsizetype first, qsizetype count) override;
    void rowsDidRemove() override { endRemoveRows(); }
    void rowChanged(qsizetype row) override;
    // The icon of a file type, looked up once per name extension.
    QIcon iconFor(const QString &name) const;

    SearchController &mController;
    QFileIconProvider mIcons;
    mutable QHash<QString, QIcon> mIconsBySuffix;
};
