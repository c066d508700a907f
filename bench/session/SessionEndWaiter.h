#pragma once

#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <QEventLoop>
#include <QString>

// The delegate of a benchmarked session: keeps its end state ("success",
// "cancel" or the failure's message); empty while the session runs.
class SessionEndWaiter : public RuvoBackupRestoreHandlerProtocol
{
public:
    void operationDidFinishSuccessfully(SessionDriver *) override { ended("success"); }
    void operationDidFailWithError(const QString &message, SessionDriver *) override { ended(message); }
    void operationDidFailWithOverQuota(const QString &message) override { ended(message); }
    void operationDidCancel(SessionDriver *) override { ended("cancel"); }
    // Serves the event loop, sleeping between events as the client's loop does, until the end state.
    void waitForEnd()
    {
        if (end.isEmpty())
            mLoop.exec();
    }
    QString end;

private:
    void ended(const QString &state)
    {
        end = state;
        mLoop.quit();
    }
    QEventLoop mLoop;
};
