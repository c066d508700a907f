#include "client/browser/views/VersionPaneView.h"

#include "client/browser/versions/VersionViewController.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The indicator stands this far above the table's middle.
constexpr int kIndicatorRaise = 40;

}  // namespace

VersionTableModel::VersionTableModel(const VersionViewController &controller, QObject *parent)
    : QAbstractTableModel(parent)
    , mController(&controller)
{}

int VersionTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !mController ? 0 : int(mController->versions().size());
}

int VersionTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : VersionViewController::ColumnCount;
}

QVariant VersionTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !mController)
        return {};
    return mController->objectValue(index.row(), VersionViewController::Column(index.column()));
}

QVariant VersionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case VersionViewController::VersionsColumn:
        return tr("Version");
    case VersionViewController::SizeColumn:
        return tr("Size");
    case VersionViewController::ModColumn:
        return tr("Date Modified");
    default:
        return {};
    }
}

void VersionTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

VersionPaneView::VersionPaneView(VersionViewController &controller, QWidget *parent)
    : QWidget(parent)
    , mController(&controller)
    , mModel(new VersionTableModel(controller, this))
    , mFileLabel(new QLabel(this))
    , mCloseButton(new QPushButton(this))
    , mVersionTableView(new QTableView(this))
    , mProgressIndicator(new QProgressBar(mVersionTableView))
{
    setObjectName(QStringLiteral("VersionView"));
    setFixedHeight(kPaneHeight);

    mFileLabel->setTextFormat(Qt::PlainText);
    mFileLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mCloseButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    mCloseButton->setFlat(true);
    mCloseButton->setToolTip(tr("Close"));
    mCloseButton->setFixedSize(22, 22);

    mVersionTableView->setModel(mModel);
    mVersionTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mVersionTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    mVersionTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mVersionTableView->verticalHeader()->hide();
    mVersionTableView->setShowGrid(false);
    mVersionTableView->setAlternatingRowColors(true);
    QHeaderView *header = mVersionTableView->horizontalHeader();
    header->setSectionResizeMode(VersionViewController::VersionsColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(VersionViewController::SizeColumn, QHeaderView::Interactive);
    header->resizeSection(VersionViewController::SizeColumn, 110);
    header->setSectionResizeMode(VersionViewController::ModColumn, QHeaderView::Stretch);

    mProgressIndicator->setRange(0, 0);  // busy
    mProgressIndicator->setTextVisible(false);
    mProgressIndicator->setFixedSize(120, 12);
    mProgressIndicator->hide();

    auto *captionRow = new QHBoxLayout;
    captionRow->addWidget(mFileLabel, 1);
    captionRow->addWidget(mCloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(captionRow);
    layout->addWidget(mVersionTableView, 1);

    connect(mCloseButton, &QPushButton::clicked, &controller, &VersionViewController::toggle);
    connect(mVersionTableView->selectionModel(), &QItemSelectionModel::selectionChanged, &controller,
            [this, &controller] {
                QList<int> rows;
                for (const QModelIndex &row : mVersionTableView->selectionModel()->selectedRows())
                    rows.append(row.row());
                controller.setSelectedRows(rows);
            });
    mVersionTableView->installEventFilter(this);

    controller.setView(this);
    showFileLabel(controller.fileLabel());
    setVersionHistoryProgressShown(controller.isVersionHistoryProgressShown());
}

VersionPaneView::~VersionPaneView()
{
    if (mController)
        mController->setView(nullptr);
}

void VersionPaneView::reloadVersionView() { mModel->reload(); }

void VersionPaneView::showFileLabel(const QString &text)
{
    mFileLabel->setText(text);
    mFileLabel->setToolTip(text);
}

void VersionPaneView::setVersionHistoryProgressShown(bool shown)
{
    mProgressIndicator->setVisible(shown);
    placeProgressIndicator();
}

bool VersionPaneView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mVersionTableView && event->type() == QEvent::Resize)
        placeProgressIndicator();
    return QWidget::eventFilter(watched, event);
}

void VersionPaneView::placeProgressIndicator()
{
    mProgressIndicator->move((mVersionTableView->width() - mProgressIndicator->width()) / 2,
                             std::max(0, mVersionTableView->height() / 2 - kIndicatorRaise));
    mProgressIndicator->raise();
}
