#pragma once

#include "uninstaller/QLUninstallerView.h"
#include "uninstaller/removal/UninstallRun.h"

#include <QStringList>

#include <functional>

// The uninstaller's controller: three panes (welcome, uninstall, done) and
// the removal between the second and the third. Runs without a display; the
// window is its view.
class QLUninstaller
{
public:
    QLUninstaller(QLUninstallerView &view, RemovalServices &services, QList<UninstallStep> steps,
                  UninstallerTimings timings = {});

    void awakeFromNib();
    void nextScreen();
    void previousScreen();
    void updateUI();

    int selectedPane() const { return mPane; }
    double progress() const { return mProgress; }
    const UninstallRun::Report &report() const { return mReport; }

    static QString applicationName();

private:
    void increamentProgress();
    void executeUninstallerScript();
    QString resultText() const;

    QLUninstallerView &mView;
    RemovalServices &mServices;
    QList<UninstallStep> mSteps;
    UninstallerTimings mTimings;
    int mPane = 0;
    double mProgress = 0;
    UninstallRun::Report mReport;
};
