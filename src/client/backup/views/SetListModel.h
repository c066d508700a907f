#pragma once

#include <QAbstractTableModel>

class BackupsetViewController;

// The set list's rows as a table for the view: name with its icon, size and date. It
// reads the controller's rows as they are asked for, so that a set of any size shows at
// once (only the visible rows are drawn).
class SetListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SetListModel(BackupsetViewController &controller, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    BackupsetViewController &mController;
};
