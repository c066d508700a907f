#pragma once

#include "platform/ProcessTable.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QThread>

// Runs a copy of a system program under a name of the test's choosing, so that
// the process table knows it by that name; ended when it goes out of scope.
class NamedProgram
{
public:
    // prefix: e.g. {"setpriv", "--reuid=65534", ...} to run it as another user.
    NamedProgram(const QString &folder, const QString &name, const QString &original, const QStringList &arguments,
                 const QStringList &prefix = {})
        : mPath(folder + '/' + name)
    {
        QFile::remove(mPath);
        QFile::copy(original, mPath);
        QFile::setPermissions(mPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadOther | QFileDevice::ExeOther);
        if (prefix.isEmpty())
            mProcess.start(mPath, arguments);
        else
            mProcess.start(prefix.first(), prefix.mid(1) + QStringList{mPath} + arguments);
        mProcess.waitForStarted();
    }
    ~NamedProgram()
    {
        if (mProcess.state() != QProcess::NotRunning) {
            mProcess.kill();
            mProcess.waitForFinished();
        }
    }
    NamedProgram(const NamedProgram &) = delete;
    NamedProgram &operator=(const NamedProgram &) = delete;

    // True until the process ended (it is reaped here, so it leaves no zombie behind).
    bool isRunning() { return !mProcess.waitForFinished(0) && mProcess.state() == QProcess::Running; }
    bool endsWithin(int milliseconds)
    {
        return mProcess.state() == QProcess::NotRunning || mProcess.waitForFinished(milliseconds);
    }
    QString path() const { return mPath; }

    // Waits until the process runs the copy under its name: a prefix such as setpriv becomes it only
    // after it started.
    bool waitUntilNamed(int milliseconds = 10000)
    {
        const QDeadlineTimer deadline(milliseconds);
        const QString name = QFileInfo(mPath).fileName();
        while (true) {
            const auto process = ProcessTable::process(mProcess.processId(), ProcessTable::Owners::EveryUser);
            if (process && process->name == name)
                return true;
            if (deadline.hasExpired() || !isRunning())
                return false;
            QThread::msleep(10);
        }
    }
    // Waits until the program has written this text on its standard output.
    bool waitForOutput(const QByteArray &text, int milliseconds = 10000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!mOutput.contains(text)) {
            if (!mProcess.waitForReadyRead(int(deadline.remainingTime())))
                return false;
            mOutput += mProcess.readAllStandardOutput();
        }
        return true;
    }

private:
    QString mPath;
    QProcess mProcess;
    QByteArray mOutput;
};
