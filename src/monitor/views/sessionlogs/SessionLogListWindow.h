#pragma once

#include "monitor/sessionlogs/SessionLogList.h"

#include <QWidget>

#include <functional>

class QTableWidget;

// The list of the daemon's session logs, newest first: a double click or
// Open shows a log, Delete removes the selected logs' files (a file that
// cannot be removed keeps its row).
class SessionLogListWindow : public QWidget
{
    Q_OBJECT
public:
    // openLog: shows one log file.
    SessionLogListWindow(const QString &folder, std::function<void(const QString &path)> openLog,
                         QWidget *parent = nullptr);

    // Lists the folder again and shows the window in front, the first row selected.
    void viewLog();
    void reloadSessionLogs();
    void openSelectedSessionLogs();
    void deleteSelectedSessionLogs();

    const SessionLogList &list() const { return mList; }
    QTableWidget *table() const { return mTable; }

private:
    void showRows();
    void showContextMenu(const QPoint &position);

    SessionLogList mList;
    std::function<void(const QString &)> mOpenLog;
    QTableWidget *mTable;
};
