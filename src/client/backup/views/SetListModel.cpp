#include "client/backup/views/SetListModel.h"

#include "client/backup/setlist/BackupsetViewController.h"

#include <QFileIconProvider>

namespace {

enum Column
{
    Name,
    Size,
    Modified,
    ColumnCount
};

}  // namespace

SetListModel::SetListModel(BackupsetViewController &controller, QObject *parent)
    : QAbstractTableModel(parent)
    , mController(controller)
{
    connect(&mController, &BackupsetViewController::rowsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int SetListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mController.backupSet().size());
}

int SetListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant SetListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SetListRow &row = mController.backupSet().at(index.row());
    if (role == Qt::DecorationRole && index.column() == Name) {
        static const QFileIconProvider icons;
        return icons.icon(row.isFolder ? QFileIconProvider::Folder : QFileIconProvider::File);
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Name:
        return row.path;
    case Size:
        return row.size;
    case Modified:
        return row.modified;
    default:
        return {};
    }
}

QVariant SetListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QStringList titles{QStringLiteral("Filename"), QStringLiteral("Size"),
                                    QStringLiteral("Date Modified")};
    return section >= 0 && section < titles.size() ? QVariant(titles.at(section)) : QVariant();
}
