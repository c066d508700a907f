#pragma once

#include "platform/PrivilegedRunner.h"

#include <QList>
#include <QStringList>

// Records the commands the allow-list let through instead of running them, and
// answers each with the result the test set. Refused commands never get here.
class FakePrivilegedRunner : public PrivilegedRunner
{
public:
    using PrivilegedRunner::PrivilegedRunner;

    QList<QStringList> commands;  // tool first, then its arguments
    Result answer{Outcome::Finished, 0};

protected:
    Result execute(const QString &tool, const QStringList &arguments) override
    {
        commands.append(QStringList{tool} + arguments);
        return answer;
    }
};
