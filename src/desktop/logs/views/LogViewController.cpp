#include "desktop/logs/views/LogViewController.h"

#include "desktop/alerts/AlertPresenter.h"

#include "common/files/SettingsFileWriter.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "desktop/kit/views/ClientArtwork.h"
#include "desktop/kit/views/DraggableTableView.h"
#include "desktop/kit/views/ImageAndTextCell.h"
#include "desktop/logs/LogManager.h"
#include "desktop/logs/LogViewRules.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "platform/PropertyList.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

using namespace LogViewRules;

// The records shown, one row each, in the order of the viewer's container.
class LogRecordsModel : public QAbstractTableModel
{
public:
    enum Column
    {
        kOperation,
        kDateTime,
        kDuration,
        kStatus,
        kFiles,
        kDelete,
        kColumnCount
    };

    explicit LogRecordsModel(const QList<LogNode> &records, QObject *parent)
        : QAbstractTableModel(parent)
        , mRecords(records)
    {}

    void reload()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(mRecords.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : kColumnCount; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= mRecords.size())
            return {};
        const LogNode &record = mRecords.at(index.row());
        if (role == Qt::DecorationRole && index.column() == kOperation)
            return QIcon(ClientArtwork::image(operationImage(record.optypeValue())));
        if (role == Qt::DecorationRole && index.column() == kDelete)
            return QIcon(ClientArtwork::image(QStringLiteral("trash12px.png")));
        if (role == Qt::ToolTipRole && index.column() == kDelete)
            return QObject::tr("Delete this record and its log");
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case kOperation:
            return operationName(record.optypeValue());
        case kDateTime:
            return record.datetime;
        case kDuration:
            return record.duration;
        case kStatus:
            return record.status;
        case kFiles:
            return record.files;
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const QStringList titles = {QObject::tr("Operation"), QObject::tr("Date & Time"),
                                           QObject::tr("Duration"),  QObject::tr("Status"),
                                           QObject::tr("Files"),     QString()};
        return titles.value(section);
    }

private:
    const QList<LogNode> &mRecords;
};

namespace {

struct PeriodItem
{
    int tag;
    const char *title;
};
constexpr PeriodItem kPeriodItems[] = {{kLastWeek, "Last week"},
                                       {kLastTwoWeeks, "Last two weeks"},
                                       {kLastMonth, "Last month"},
                                       {kFromTheBeginning, "From the beginning"}};

const QStringList kOperationFolders = {QStringLiteral("Backup"), QStringLiteral("Restore"),
                                       QStringLiteral("Delete"), QStringLiteral("Archive Cleanup"),
                                       QStringLiteral("Rename"), QStringLiteral("LOGXML")};
const QString kPreferencesLink = QStringLiteral("Preferences");

QString clientPreferencesPath() { return QLLocalizedString(QStringLiteral("ClientPreferencePath")); }

int storedPeriod()
{
    return PropertyList::readDictionary(clientPreferencesPath()).value(kPeriodKey, int(kLastWeek)).toInt();
}

void storePeriod(int tag)
{
    QVariantMap preferences = PropertyList::readDictionary(clientPreferencesPath());
    preferences.insert(kPeriodKey, tag);
    SettingsFileWriter::writeSettingsFile(clientPreferencesPath(), preferences,
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner, nullptr);
}

QTextCharFormat linkFormat(const QString &href)
{
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(href);
    link.setForeground(Qt::blue);
    link.setFontUnderline(true);
    return link;
}

// Orders the records by a column, by the column's own comparison.
bool recordLess(const LogNode &a, const LogNode &b, int column)
{
    switch (column) {
    case LogRecordsModel::kOperation:
        return operationName(a.optypeValue()) < operationName(b.optypeValue());
    case LogRecordsModel::kDateTime:
        return compareDateTimes(a.datetime, b.datetime) < 0;
    case LogRecordsModel::kDuration:
        return compareNumbers(a.duration, b.duration) < 0;
    case LogRecordsModel::kFiles:
        return compareNumbers(a.files, b.files) < 0;
    default:
        return a.status < b.status;
    }
}

}  // namespace

LogViewController::LogViewController(const SessionLogsFolder &folder, AlertPresenter &alerts, Hooks hooks,
                                     Timings timings, QWidget *parent)
    : QWidget(parent)
    , mAlerts(alerts)
    , mHooks(std::move(hooks))
    , mTimings(timings)
    , mFolder(std::make_unique<SessionLogsFolder>(folder))
    , LogMgrInst(std::make_unique<LogManager>(this, folder))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Show logs of:"), this));
    mPopupButton = new QComboBox(this);
    for (const PeriodItem &item : kPeriodItems)
        mPopupButton->addItem(tr(item.title), item.tag);
    top->addWidget(mPopupButton);
    top->addStretch();
    if (mHooks.helpPage.isValid()) {
        mHelpButton = new QPushButton(QStringLiteral("?"), this);
        mHelpButton->setToolTip(tr("Help"));
        mHelpButton->setFixedWidth(mHelpButton->sizeHint().height());  // a round "?", not a wide bar
        top->addWidget(mHelpButton);
        connect(mHelpButton, &QPushButton::clicked, this, &LogViewController::onlineHelp);
    }
    layout->addLayout(top);
    connect(mPopupButton, &QComboBox::activated, this,
            [this](int index) { sortLogs(mPopupButton->itemData(index).toInt()); });

    mModel = new LogRecordsModel(mLogContainer, this);
    mTableView = new DraggableTableView(this);
    mTableView->setModel(mModel);
    mTableView->setItemDelegateForColumn(LogRecordsModel::kOperation, new ImageAndTextCell(mTableView));
    mTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTableView->verticalHeader()->hide();
    mTableView->setShowGrid(false);
    mTableView->setAlternatingRowColors(true);
    mTableView->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView *header = mTableView->horizontalHeader();
    header->setSectionResizeMode(LogRecordsModel::kOperation, QHeaderView::Stretch);
    header->setSectionResizeMode(LogRecordsModel::kDateTime, QHeaderView::ResizeToContents);
    header->resizeSection(LogRecordsModel::kDelete, 28);
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) {
        if (column == LogRecordsModel::kDelete)
            return;
        const Qt::SortOrder order = mTableView->horizontalHeader()->sortIndicatorSection() == column &&
                                            mTableView->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder
                                        ? Qt::DescendingOrder
                                        : Qt::AscendingOrder;
        sortByColumn(column, order);
    });
    connect(mTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LogViewController::tableViewSelectionChanged);
    connect(mTableView, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (index.column() == LogRecordsModel::kDelete)
            deleteRow(index.row());
    });
    connect(mTableView, &DraggableTableView::deleteIndexes, this, [this](const QList<int> &rows) {
        if (!rows.isEmpty())
            deleteSelectedItems();
    });
    connect(mTableView, &QWidget::customContextMenuRequested, this, &LogViewController::showContextMenu);

    mTabView = new QTabWidget(this);
    mSummaryView = new QTextBrowser(this);
    mDetailView = new QTextBrowser(this);
    for (QTextBrowser *view : {mSummaryView, mDetailView}) {
        view->setOpenLinks(false);
        connect(view, &QTextBrowser::anchorClicked, this, &LogViewController::linkClicked);
    }
    mSummaryTab = mSummaryView;
    mTabView->addTab(mSummaryView, tr("Summary"));
    mTabView->addTab(mDetailView, tr("Detail"));
    auto *split = new QVBoxLayout;
    split->addWidget(mTableView, 3);
    split->addWidget(mTabView, 2);
    layout->addLayout(split);

    mSelectFirstRow.setSingleShot(true);
    connect(&mSelectFirstRow, &QTimer::timeout, this, [this] { selectRow(0); });
}

LogViewController::~LogViewController() = default;

void LogViewController::MoveOldLogsAtPath(const QString &folder)
{
    for (const QString &operation : kOperationFolders)
        SessionLogsFolder::ensureFolder(folder + '/' + operation);
}

void LogViewController::reloadLogViewOnTableViewSelectionChange()
{
    const int tag = storedPeriod();
    mPopupButton->setCurrentIndex(std::max(0, mPopupButton->findData(tag)));
    mSummaryView->clear();
    mDetailView->clear();
    DisplayLogsFrom(tag);
    mSelectFirstRow.start(mTimings.selectFirstRowAfter);
}

void LogViewController::sortLogs(int tag)
{
    if (mHooks.postPeriod)
        mHooks.postPeriod(periodNotificationName(tag));
}

void LogViewController::sortLogsFromNotification(const QString &name)
{
    const std::optional<int> tag = periodForNotification(name);
    if (!tag)
        return;
    storePeriod(*tag);
    mPopupButton->setCurrentIndex(std::max(0, mPopupButton->findData(*tag)));
    DisplayLogsFrom(*tag);
    selectRow(0);
}

int LogViewController::selectedPeriod() const { return mPopupButton->currentData().toInt(); }

void LogViewController::DisplayLogsFrom(int tag)
{
    const QDate today = QDate::currentDate();
    mLogContainer.clear();
    mModel->reload();
    if (const std::optional<QDate> start = periodStart(tag, today))
        LogMgrInst->fetchLogsFrom(start->startOfDay(), QDateTime::currentDateTime());
    else if (tag == kFromTheBeginning)
        LogMgrInst->fetchAllLogs();
    mModel->reload();
}

void LogViewController::xmlParsed(const std::optional<QList<LogNode>> &records)
{
    if (!records || records->isEmpty())
        return;
    // Each file lists its records oldest first; the newest day delivered lands on top.
    for (const LogNode &record : *records)
        mLogContainer.prepend(record);
    mModel->reload();
    LogMgrInst->addToLogCache(records->first().logname, *records);
}

void LogViewController::selectRow(int row)
{
    if (row < mLogContainer.size())
        mTableView->selectRow(row);
}

void LogViewController::tableViewSelectionChanged()
{
    const QModelIndexList rows = mTableView->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= mLogContainer.size()) {
        mSummaryView->clear();
        mDetailView->clear();
        return;
    }
    selectedNode = mLogContainer.at(rows.first().row());
    manageTabView(selectedNode.logfile);
}

void LogViewController::manageTabView(const QString &logPath)
{
    loadTextView(mDetailView, logPath);
    const QString summaryPath = logPath + QStringLiteral(".summary");
    if (!QFile::exists(summaryPath)) {
        if (mTabView->indexOf(mSummaryTab) == 0)
            mTabView->removeTab(0);
    } else {
        if (mTabView->count() == 1)
            mTabView->insertTab(0, mSummaryTab, tr("Summary"));
        loadTextView(mSummaryView, summaryPath);
    }
    mTabView->setCurrentIndex(0);
}

void LogViewController::loadTextView(QTextBrowser *view, const QString &path)
{
    view->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const ShownLog shown = shownLog(file.read(kShownBytes), file.size());
    QTextCursor cursor(view->document());
    cursor.insertText(shown.text);
    if (shown.clipped) {
        cursor.insertText(kClippedNotice);
        cursor.insertText(kViewEntireLog, linkFormat(QUrl::fromLocalFile(path).toString()));
    } else if (view == mSummaryView) {
        const qsizetype start = excludedFilesLinkStart(shown.text);
        if (start >= 0) {
            cursor.setPosition(int(start));
            cursor.setPosition(int(start + QStringLiteral("Click here").size()), QTextCursor::KeepAnchor);
            cursor.setCharFormat(linkFormat(kPreferencesLink));
        }
    }
    view->moveCursor(QTextCursor::Start);
}

void LogViewController::linkClicked(const QUrl &url)
{
    if (url.path().contains(kPreferencesLink)) {
        if (mHooks.openExclusionPreferences)
            mHooks.openExclusionPreferences();
    } else if (mHooks.openLink) {
        mHooks.openLink(url);
    }
}

QString LogViewController::detailText() const { return mDetailView->toPlainText(); }

QString LogViewController::summaryText() const { return mSummaryView->toPlainText(); }

bool LogViewController::hasSummaryTab() const { return mTabView->indexOf(mSummaryTab) == 0; }

void LogViewController::deleteRecords(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows) {
        if (row < 0 || row >= mLogContainer.size())
            continue;
        const LogNode record = mLogContainer.takeAt(row);
        LogMgrInst->deleteNode(record, record.logname);
    }
    mTableView->clearSelection();
    mModel->reload();
}

void LogViewController::deleteRow(int row)
{
    if (mAlerts.confirm(QStringLiteral("Would you like to delete selected item(s)?")))
        deleteRecords({row});
}

void LogViewController::deleteSelectedItems()
{
    if (!mAlerts.confirm(QStringLiteral("Would you like to delete selected item(s)?")))
        return;
    QList<int> rows;
    for (const QModelIndex &index : mTableView->selectionModel()->selectedRows())
        rows.append(index.row());
    deleteRecords(rows);
}

void LogViewController::deleteAllItems()
{
    if (!mAlerts.confirm(QStringLiteral("Would you like to delete all item(s)?")))
        return;
    QList<int> rows;
    for (int row = 0; row < mLogContainer.size(); ++row)
        rows.append(row);
    deleteRecords(rows);
}

void LogViewController::archiveSelectedLog()
{
    while (mHooks.chooseFolder) {
        const QString folder = mHooks.chooseFolder();
        if (folder.isEmpty())
            return;
        if (QLUtility::isWritableFileAtPath(folder)) {
            QList<QModelIndex> rows = mTableView->selectionModel()->selectedRows();
            std::sort(rows.begin(), rows.end(),
                      [](const QModelIndex &a, const QModelIndex &b) { return a.row() > b.row(); });
            for (const QModelIndex &index : rows) {
                const QString log = mLogContainer.at(index.row()).logfile;
                if (QFileInfo(log).isReadable())
                    QFile::copy(log, QDir(folder).filePath(QFileInfo(log).fileName()));
            }
            return;
        }
        AlertRequest question;
        question.title = QStringLiteral("Unable to write the file(s)");
        question.message = QStringLiteral("Selected folder doesn't have write permission. ");
        question.defaultButton = QStringLiteral("Select another");
        question.alternateButton = QStringLiteral("OK");
        if (!mAlerts.confirm(question))
            return;
    }
}

void LogViewController::onlineHelp()
{
    if (mHooks.openLink && mHooks.helpPage.isValid())
        mHooks.openLink(mHooks.helpPage);
}

void LogViewController::sortByColumn(int column, Qt::SortOrder order)
{
    const std::optional<LogNode> selected =
        mTableView->selectionModel()->selectedRows().isEmpty() ? std::nullopt : std::optional<LogNode>(selectedNode);
    std::stable_sort(mLogContainer.begin(), mLogContainer.end(), [column, order](const LogNode &a, const LogNode &b) {
        return order == Qt::AscendingOrder ? recordLess(a, b, column) : recordLess(b, a, column);
    });
    mTableView->horizontalHeader()->setSortIndicatorShown(true);
    mTableView->horizontalHeader()->setSortIndicator(column, order);
    mModel->reload();
    if (selected)
        selectRow(int(mLogContainer.indexOf(*selected)));
}

void LogViewController::showContextMenu(const QPoint &position)
{
    const QModelIndex clicked = mTableView->indexAt(position);
    if (!clicked.isValid())
        return;
    QMenu menu(this);
    menu.addAction(tr("Delete selected"), this, &LogViewController::deleteSelectedItems);
    menu.addAction(tr("Delete all"), this, &LogViewController::deleteAllItems);
    menu.addAction(tr("Copy logs to a folder..."), this, &LogViewController::archiveSelectedLog);
    menu.exec(mTableView->viewport()->mapToGlobal(position));
}
