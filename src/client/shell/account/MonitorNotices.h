#pragma once

#include "platform/DistributedNotificationCenter.h"

#include <QObject>
#include <QString>

// The distributed notifications between the client and the monitor: what the client
// posts for the monitor (its preferences enabled, disabled or opened, the versions button
// after a mode switch) and the log period a log viewer of either program chose, which
// every viewer follows. Without a session bus a chosen period still reaches this
// program's own viewer.
class MonitorNotices : public QObject
{
    Q_OBJECT

public:
    static inline const QString kEnablePreferences = QStringLiteral("TarnixPortableEnablePreferencesNotification");
    static inline const QString kDisablePreferences = QStringLiteral("TarnixPortableDisablePreferencesNotification");
    static inline const QString kOpenPreferences = QStringLiteral("TarnixPortableOpenPreferencesNotification");
    static inline const QString kVersionsButton = QStringLiteral("ShouldEnableVerionsButton");
    // The object of kOpenPreferences that asks for the error report.
    static inline const QString kSendErrorReport = QStringLiteral("sendErrorReport");
    // The word of the monitor's command file that keeps its preferences disabled at its start.
    static inline const QString kDisablePreferencesWord = QStringLiteral("DisablePreferencesNotification");

    explicit MonitorNotices(QObject *parent = nullptr);

    void post(const QString &name, const QString &object = {});
    // A period ("LastWeek", "LastTwoWeeks", "LastOneMonth", "FromTheBeginning") chosen here.
    void postLogPeriod(const QString &period);

signals:
    // A log viewer of this user chose a period.
    void logPeriodChosen(const QString &period);

private:
    DistributedNotificationCenter mCenter;
};
