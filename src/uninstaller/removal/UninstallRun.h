#pragma once

#include "uninstaller/removal/RemovalServices.h"
#include "uninstaller/removal/UninstallStep.h"
#include "uninstaller/removal/UninstallerTimings.h"

#include <QList>
#include <QStringList>

#include <functional>

// Runs the removal steps: administrator rights first (nothing happens
// without them), then every step in order, each one whatever became of the
// one before. What could not be done is collected for the report, in the
// words the user reads; nothing that failed is passed off as removed.
class UninstallRun
{
public:
    struct Report
    {
        bool authenticated = false;
        QStringList failures;
        bool succeeded() const { return authenticated && failures.isEmpty(); }
    };

    explicit UninstallRun(RemovalServices &services, UninstallerTimings timings = {})
        : mServices(services)
        , mTimings(timings)
    {}

    // advanceProgress is called after each step that advances the progress bar.
    Report execute(const QList<UninstallStep> &steps, const std::function<void()> &advanceProgress);

private:
    void stopPrograms(const QStringList &names, QStringList &failures) const;
    void removeItems(const QStringList &paths, QStringList &failures) const;
    void removeInstall(const QString &receiptPath, QStringList &failures) const;
    void removeLoginItems(const QStringList &programPaths, QStringList &failures) const;
    QString removeItem(const QString &path) const;

    RemovalServices &mServices;
    UninstallerTimings mTimings;
};
