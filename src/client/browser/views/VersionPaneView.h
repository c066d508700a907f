#pragma once

#include "client/browser/versions/VersionView.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class VersionViewController;

// The version table's rows, read from the pane's controller.
class VersionTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit VersionTableModel(const VersionViewController &controller, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void reload();

private:
    QPointer<const VersionViewController> mController;
};

// The version pane ("VersionView") below a page's table: the caption, the close
// button, the table of versions and a busy indicator over it while the list
// is fetched. Selecting a row tells the controller.
class VersionPaneView : public QWidget, public VersionView
{
    Q_OBJECT

public:
    static constexpr int kPaneHeight = 220;

    explicit VersionPaneView(VersionViewController &controller, QWidget *parent = nullptr);
    ~VersionPaneView() override;

    QLabel *fileLabel() const { return mFileLabel; }
    QPushButton *closeButton() const { return mCloseButton; }
    QTableView *tableView() const { return mVersionTableView; }
    QProgressBar *progressIndicator() const { return mProgressIndicator; }

    // --- VersionView ---
    void reloadVersionView() override;
    void showFileLabel(const QString &text) override;
    void setVersionHistoryProgressShown(bool shown) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Centred over the table, a little above its middle.
    void placeProgressIndicator();

    // The controller may go before the pane (the page outlives its tab's controllers).
    QPointer<VersionViewController> mController;
    VersionTableModel *mModel;
    QLabel *mFileLabel;
    QPushButton *mCloseButton;
    QTableView *mVersionTableView;
    QProgressBar *mProgressIndicator;
};
