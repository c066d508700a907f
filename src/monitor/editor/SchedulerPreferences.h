#pragma once

#include <QDateTime>
#include <QString>

// The scheduler preference plist ("ApplicationPreferenceFile"): each user's
// cut-off time under the user's tarnixUserName (the key the cut-off check
// reads), and two settings shared by every user.
class SchedulerPreferences
{
public:
    static inline const QString kEnableCutoffTimeKey = QStringLiteral("EnableCutoffTimeKey");
    static inline const QString kCutoffTimeKey = QStringLiteral("CutoffTimeKey");
    static inline const QString kDesktopNotificationKey = QStringLiteral("DesktopNotificationKey ");  // with its blank
    static inline const QString kStartMissedScheduleBackupKey = QStringLiteral("StartMissedScheduleBackupKey");

    struct Settings
    {
        bool cutoffOn = false;
        QDateTime cutoff;  // invalid when none is stored
        bool desktopNotification = false;
        bool startMissed = false;
    };

    explicit SchedulerPreferences(QString path);

    // A missing or damaged file reads as every setting off.
    Settings read(const QString &tarnixUserName) const;
    // The user's cut-off only.
    bool writeCutoff(const QString &tarnixUserName, bool on, const QDateTime &cutoff) const;
    // The user's cut-off and the shared settings; the file is created when missing.
    bool write(const QString &tarnixUserName, const Settings &settings) const;

private:
    QString mPath;
};
