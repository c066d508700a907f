#pragma once

#include "desktop/logs/LogNode.h"
#include "desktop/logs/LogParseReceiver.h"

#include <QList>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

class AlertPresenter;
class DraggableTableView;
class LogManager;
class LogRecordsModel;
class QComboBox;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class SessionLogsFolder;

struct LogViewControllerTimings
{
    // The first row is selected this long after the list is rebuilt.
    std::chrono::milliseconds selectFirstRowAfter{std::chrono::seconds(1)};
};

// The Log page: the operations recorded in the day files of a chosen period,
// newest first, and below them the selected operation's session log and its
// summary. Records can be deleted with their log files and copied to a
// folder. A period chosen in the menu is announced to both programs and
// takes effect when the announcement comes back (sortLogs).
class LogViewController : public QWidget, public LogParseReceiver
{
    Q_OBJECT
public:
    using Timings = LogViewControllerTimings;
    // What the page asks of its surroundings beside its questions (those go to the
    // alert presenter): the folder chooser (so that tests answer it), the announcement
    // of a period, links.
    struct Hooks
    {
        std::function<QString()> chooseFolder;  // "" when cancelled
        std::function<void(const QString &notificationName)> postPeriod;
        std::function<void(const QUrl &url)> openLink;
        // The monitor's exclusion settings were asked for (a summary's "Click here").
        std::function<void()> openExclusionPreferences;
        // The maker's help page of the log viewer, opened by its help button; none: no button.
        QUrl helpPage;
    };

    LogViewController(const SessionLogsFolder &folder, AlertPresenter &alerts, Hooks hooks, Timings timings = {},
                      QWidget *parent = nullptr);
    ~LogViewController() override;

    // The session-log folders of every operation, made after a login.
    void MoveOldLogsAtPath(const QString &folder);
    void reloadLogViewOnTableViewSelectionChange();
    // A period chosen in the menu only announces it.
    void sortLogs(int tag);
    // The announcement came back (from this program or the monitor).
    void sortLogsFromNotification(const QString &name);
    void DisplayLogsFrom(int tag);
    void xmlParsed(const std::optional<QList<LogNode>> &records) override;

    void deleteSelectedItems();
    void deleteAllItems();
    void deleteRow(int row);
    void archiveSelectedLog();
    void onlineHelp();

    // For the sidebar's row and for tests.
    const QList<LogNode> &records() const { return mLogContainer; }
    QPushButton *helpButton() const { return mHelpButton; }
    QString detailText() const;
    QString summaryText() const;
    bool hasSummaryTab() const;
    int selectedPeriod() const;
    DraggableTableView *tableView() const { return mTableView; }
    void selectRow(int row);

private:
    void tableViewSelectionChanged();
    void manageTabView(const QString &logPath);
    void loadTextView(QTextBrowser *view, const QString &path);
    void linkClicked(const QUrl &url);
    void deleteRecords(QList<int> rows);
    void sortByColumn(int column, Qt::SortOrder order);
    void showContextMenu(const QPoint &position);

    AlertPresenter &mAlerts;
    Hooks mHooks;
    Timings mTimings;
    std::unique_ptr<SessionLogsFolder> mFolder;
    std::unique_ptr<LogManager> LogMgrInst;
    QList<LogNode> mLogContainer;
    LogNode selectedNode;
    LogRecordsModel *mModel = nullptr;
    DraggableTableView *mTableView = nullptr;
    QComboBox *mPopupButton = nullptr;
    QPushButton *mHelpButton = nullptr;
    QTabWidget *mTabView = nullptr;
    QWidget *mSummaryTab = nullptr;
    QTextBrowser *mSummaryView = nullptr;
    QTextBrowser *mDetailView = nullptr;
    QTimer mSelectFirstRow;
};
