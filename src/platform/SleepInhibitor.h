#pragma once

#include <QDBusConnection>
#include <QString>

// Keeps the computer from idle sleep while long work runs (a backup, a restore): an
// inhibitor lock of logind ("sleep:idle", mode "block"), which lasts as long as the file
// it hands out stays open. Where no logind answers (no system bus, a test bus), the work
// goes on without the lock, and a trace says so.
class SleepInhibitor
{
public:
    // who: the program's name as logind lists the lock.
    explicit SleepInhibitor(QString who, QDBusConnection bus = QDBusConnection::systemBus());
    ~SleepInhibitor() { release(); }
    SleepInhibitor(const SleepInhibitor &) = delete;
    SleepInhibitor &operator=(const SleepInhibitor &) = delete;

    // Takes the lock unless it is held; why is shown to the user by logind. True when held.
    bool acquire(const QString &why);
    void release();
    bool isHeld() const { return mLock >= 0; }

private:
    QString mWho;
    QDBusConnection mBus;
    int mLock = -1;
};
