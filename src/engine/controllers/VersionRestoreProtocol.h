#pragma once

#include <QString>

#include <optional>

class ProgressReport;
class RuvoVersionRestoreController;

// What a version restore tells its delegate, on the main thread, in this
// order: willStart, operationDidStart, operationDidReceiveData for each
// progress line, then one of didFinish, versionRestoreDidCancel or
// versionRestoreDidFail.
class VersionRestoreProtocol
{
public:
    virtual ~VersionRestoreProtocol() = default;

    virtual void willStartVersionRestoreforPath(const QString &, std::optional<qint64>, const QString &) {}
    virtual void operationDidStart(RuvoVersionRestoreController *controller) = 0;
    virtual void operationDidReceiveData(const ProgressReport &progress, RuvoVersionRestoreController *controller) = 0;
    virtual void didFinishVersionRestoreforPath(const QString &path, std::optional<qint64> versionNumber,
                                                const QString &destination) = 0;
    virtual void versionRestoreDidCancel(RuvoVersionRestoreController *) {}
    // The engine reported an error, or could not be started: nothing was restored.
    virtual void versionRestoreDidFail(const QString &, RuvoVersionRestoreController *) {}
};
