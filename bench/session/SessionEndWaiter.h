#pragma once

#include "session/manager/RuvoBackupRestoreHandlerProtocol.h"

#include <QString>

// The delegate of a benchmarked session: keeps its end state ("success",
// "cancel" or the failure's message); empty while the session runs.
class SessionEndWaiter : public RuvoBackupRestoreHandlerProtocol
{
public:
    void operationDidFinishSuccessfully(RuvoBackupManager *) override { end = "success"; }
    void operationDidFailWithError(const QString &message, RuvoBackupManager *) override { end = message; }
    void operationDidFailWithOverQuota(const QString &message) override { end = message; }
    void operationDidCancel(RuvoBackupManager *) override { end = "cancel"; }
    QString end;
};
