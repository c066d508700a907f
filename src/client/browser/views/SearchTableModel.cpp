#include "client/browser/views/SearchTableModel.h"

#include "client/browser/search/SearchController.h"
#include "client/browser/search/SearchRowRules.h"

#include <QFileInfo>

SearchTableModel::SearchTableModel(SearchController &controller, QObject *parent)
    : QAbstractTableModel(parent)
    , mController(controller)
{
    mController.results().setObserver(this);
}

SearchTableModel::~SearchTableModel() = default;

int SearchTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(mController.results().count());
}

int SearchTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QIcon SearchTableModel::iconFor(const QString &name) const
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    auto found = mIconsBySuffix.constFind(suffix);
    if (found == mIconsBySuffix.constEnd())
        found = mIconsBySuffix.insert(suffix, mIcons.icon(QFileInfo(name)));
    return *found;
}

QVariant SearchTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !mController.results().contains(index.row()))
        return {};
    const FileSystemNode &row = mController.results().at(index.row());
    if (index.column() == NameColumn) {
        if (role == Qt::CheckStateRole)
            return row.checkState == FileSystemNode::CheckState::On ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::DecorationRole)
            return iconFor(row.name);
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return row.path;
        return {};
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case SizeColumn:
        return row.size;
    case VersionColumn:
        return row.version;
    case DateColumn:
        return SearchRowRules::displayDate(row.modificationDate);
    default:
        return {};
    }
}

bool SearchTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != NameColumn || !mController.results().contains(index.row()))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    const bool isChecked = mController.results().at(index.row()).checkState == FileSystemNode::CheckState::On;
    if (checked != isChecked)
        mController.toggleCheckBoxState(index.row());
    return true;
}

Qt::ItemFlags SearchTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == NameColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SearchTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return tr("Name");
    case SizeColumn:
        return tr("Size");
    case VersionColumn:
        return tr("File Version");
    case DateColumn:
        return tr("Modified date");
    default:
        return {};
    }
}

void SearchTableModel::rowsWillAppend(qsizetype first, qsizetype count)
{
    beginInsertRows({}, int(first), int(first + count - 1));
}

void SearchTableModel::rowsWillRemove(qsizetype first, qsizetype count)
{
    beginRemoveRows({}, int(first), int(first + count - 1));
}

void SearchTableModel::rowChanged(qsizetype row)
{
    const QModelIndex changed = index(int(row), NameColumn);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}
