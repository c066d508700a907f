#include "monitor/views/sessionlogs/SessionLogListWindow.h"

#include "common/texts/QLLocalizedString.h"

#include "monitor/views/drawing/QLGradientSelectionTableView.h"
#include "monitor/views/drawing/iTunesScrollerStyle.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString listText(const QString &key) { return QLLocalizedString(key); }

}  // namespace

SessionLogListWindow::SessionLogListWindow(const QString &folder, std::function<void(const QString &)> openLog,
                                           QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mList(folder)
    , mOpenLog(std::move(openLog))
{
    setWindowTitle(listText(QStringLiteral("Session Logs")));
    resize(520, 340);
    mTable = new QLGradientSelectionTableView(0, 2, this);
    auto *scrollers = new iTunesScrollerStyle;
    scrollers->setParent(this);
    mTable->verticalScrollBar()->setStyle(scrollers);
    mTable->horizontalScrollBar()->setStyle(scrollers);
    mTable->setHorizontalHeaderLabels({listText(QStringLiteral("Operation")), listText(QStringLiteral("Start Time"))});
    mTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    mTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    mTable->verticalHeader()->hide();
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mTable, &QTableWidget::cellDoubleClicked, this, &SessionLogListWindow::openSelectedSessionLogs);
    connect(mTable, &QTableWidget::customContextMenuRequested, this, &SessionLogListWindow::showContextMenu);

    auto *open = new QPushButton(listText(QStringLiteral("Open")), this);
    connect(open, &QPushButton::clicked, this, &SessionLogListWindow::openSelectedSessionLogs);
    auto *remove = new QPushButton(listText(QStringLiteral("Delete")), this);
    connect(remove, &QPushButton::clicked, this, &SessionLogListWindow::deleteSelectedSessionLogs);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(remove);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mTable);
    layout->addLayout(buttons);
}

void SessionLogListWindow::viewLog()
{
    reloadSessionLogs();
    if (mTable->rowCount() > 0)
        mTable->selectRow(0);
    show();
    raise();
    activateWindow();
}

void SessionLogListWindow::reloadSessionLogs()
{
    mList.reloadSessionLogs();
    showRows();
}

void SessionLogListWindow::showRows()
{
    const QList<SessionLogList::Row> &rows = mList.rows();
    mTable->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        mTable->setItem(row, 0, new QTableWidgetItem(rows[row].description));
        mTable->setItem(row, 1, new QTableWidgetItem(QLocale().toString(rows[row].startTime, QLocale::ShortFormat)));
    }
}

void SessionLogListWindow::openSelectedSessionLogs()
{
    QList<int> rows;
    for (const QModelIndex &index : mTable->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    for (int row : rows)
        mOpenLog(mList.rows().at(row).filePath);
}

void SessionLogListWindow::deleteSelectedSessionLogs()
{
    QSet<int> rows;
    for (const QModelIndex &index : mTable->selectionModel()->selectedRows())
        rows.insert(index.row());
    mList.deleteRows(rows);
    showRows();
}

void SessionLogListWindow::showContextMenu(const QPoint &position)
{
    QMenu menu(this);
    const bool selected = mTable->selectionModel()->hasSelection();
    menu.addAction(listText(QStringLiteral("Open")), this, &SessionLogListWindow::openSelectedSessionLogs)
        ->setEnabled(selected);
    menu.addAction(listText(QStringLiteral("Delete")), this, &SessionLogListWindow::deleteSelectedSessionLogs)
        ->setEnabled(selected);
    menu.exec(mTable->viewport()->mapToGlobal(position));
}
