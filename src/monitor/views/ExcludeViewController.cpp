#include "monitor/views/ExcludeViewController.h"

#include "monitor/prefs/ExcludePreferences.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kStateColumn = 0;
constexpr int kPathColumn = 1;

QTableWidget *makeTable(QWidget *parent)
{
    auto *table = new QTableWidget(0, 2, parent);
    table->setHorizontalHeaderLabels({QObject::tr("State"), QObject::tr("Path")});
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setSectionResizeMode(kStateColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setIconSize(QSize(16, 16));
    return table;
}

QHBoxLayout *buttonRow(QPushButton *add, QPushButton *remove)
{
    auto *row = new QHBoxLayout;
    row->addWidget(add);
    row->addWidget(remove);
    row->addStretch(1);
    return row;
}

QStringList chooseWithDialog(QWidget *parent)
{
    QFileDialog dialog(parent, QObject::tr("Exclude"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

}  // namespace

ExcludeViewController::ExcludeViewController(ExcludePreferences &preferences, QWidget *parent)
    : QWidget(parent)
    , mPreferences(preferences)
    , mChooser(chooseWithDialog)
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Files and folders left out of every backup:"), this));
    mExcludeFilesTableView = makeTable(this);
    layout->addWidget(mExcludeFilesTableView, 2);
    mAddButton = new QPushButton(tr("Add..."), this);
    mRemoveButton = new QPushButton(tr("Remove"), this);
    layout->addLayout(buttonRow(mAddButton, mRemoveButton));
    layout->addWidget(new QLabel(tr("Names left out wherever they are (* and ? match any text):"), this));
    mPartialExcludeListTableView = makeTable(this);
    layout->addWidget(mPartialExcludeListTableView, 1);
    mAddPartialButton = new QPushButton(tr("Add"), this);
    mRemovePartialButton = new QPushButton(tr("Remove"), this);
    layout->addLayout(buttonRow(mAddPartialButton, mRemovePartialButton));
    mExcludeHidden = new QCheckBox(tr("Exclude hidden files"), this);
    layout->addWidget(mExcludeHidden);

    for (QTableWidget *table : {mExcludeFilesTableView, mPartialExcludeListTableView}) {
        table->installEventFilter(this);
        connect(table, &QTableWidget::itemSelectionChanged, this, &ExcludeViewController::updateButtons);
        connect(table, &QTableWidget::cellChanged, this,
                [this, table](int row, int column) { cellChanged(table, row, column); });
    }
    connect(mAddButton, &QPushButton::clicked, this, [this] { mPreferences.addFilesToExclusionList(mChooser(this)); });
    connect(mRemoveButton, &QPushButton::clicked, this, [this] { deleteItemFromTableView(mExcludeFilesTableView); });
    connect(mAddPartialButton, &QPushButton::clicked, this, [this] {
        const int row = mPreferences.addPartialPathToExclusionList();
        if (row >= 0)
            mPartialExcludeListTableView->editItem(mPartialExcludeListTableView->item(row, kPathColumn));
    });
    connect(mRemovePartialButton, &QPushButton::clicked, this,
            [this] { deleteItemFromTableView(mPartialExcludeListTableView); });
    connect(mExcludeHidden, &QCheckBox::toggled, this, [this](bool on) { mPreferences.setExcludeHidden(on); });
    connect(&mPreferences, &ExcludePreferences::rowsChanged, this, &ExcludeViewController::refreshView);
}

void ExcludeViewController::refreshView()
{
    fillTable(mExcludeFilesTableView, false);
    fillTable(mPartialExcludeListTableView, true);
    const QSignalBlocker blocker(mExcludeHidden);
    mExcludeHidden->setChecked(mPreferences.excludeHidden());
    updateButtons();
}

void ExcludeViewController::fillTable(QTableWidget *table, bool partial)
{
    const QSignalBlocker blocker(table);
    const auto &rows = partial ? mPreferences.partialRows() : mPreferences.rows();
    static const QFileIconProvider icons;
    table->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const SourceListNode &node = rows[size_t(row)];
        const bool fixed = ExcludePreferences::isDefault(node.name);
        auto *state = new QTableWidgetItem;
        state->setFlags(fixed ? Qt::ItemIsSelectable
                              : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        state->setCheckState(node.state != 0 ? Qt::Checked : Qt::Unchecked);
        auto *path = new QTableWidgetItem(
            icons.icon(node.isAFile ? QFileIconProvider::File : QFileIconProvider::Folder), node.name);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (partial && !fixed)
            flags |= Qt::ItemIsEditable;
        path->setFlags(flags);
        table->setItem(row, kStateColumn, state);
        table->setItem(row, kPathColumn, path);
    }
}

void ExcludeViewController::cellChanged(QTableWidget *table, int row, int column)
{
    const bool partial = table == mPartialExcludeListTableView;
    if (column == kStateColumn) {
        const auto &rows = partial ? mPreferences.partialRows() : mPreferences.rows();
        const bool checked = table->item(row, column)->checkState() == Qt::Checked;
        if (size_t(row) < rows.size() && checked != (rows[size_t(row)].state != 0)) {
            if (partial)
                mPreferences.togglePartialState(row);
            else
                mPreferences.toggleCheckBoxState(row);
        }
    } else if (partial) {
        mPreferences.setPartialName(row, table->item(row, column)->text());
    }
}

void ExcludeViewController::updateButtons()
{
    mRemoveButton->setEnabled(mPreferences.canRemove(mExcludeFilesTableView->currentRow()) &&
                              !mExcludeFilesTableView->selectedItems().isEmpty());
    mRemovePartialButton->setEnabled(mPreferences.canRemovePartial(mPartialExcludeListTableView->currentRow()) &&
                                     !mPartialExcludeListTableView->selectedItems().isEmpty());
    mAddPartialButton->setEnabled(mPreferences.canAddPartial());
}

void ExcludeViewController::deleteItemFromTableView(QTableWidget *table)
{
    if (table->selectedItems().isEmpty())
        return;
    if (table == mExcludeFilesTableView)
        mPreferences.removeFilesFromExclusionList(table->currentRow());
    else
        mPreferences.removePartialPathFromExclusionList(table->currentRow());
}

bool ExcludeViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            deleteItemFromTableView(static_cast<QTableWidget *>(watched));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
