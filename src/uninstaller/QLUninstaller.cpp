#include "uninstaller/QLUninstaller.h"

#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "uninstaller/removal/UninstallPlan.h"

namespace {

enum Pane
{
    kWelcomePane = 0,
    kUninstallPane = 1,
    kDonePane = 2
};

const char *const kConfirmationKey =
    "Stop any backup operation that may be in progress and then proceed to uninstall the application.\n Are you sure "
    "that you want to completely remove Tarnix Rizered and all it's components?";

}  // namespace

QLUninstaller::QLUninstaller(QLUninstallerView &view, RemovalServices &services, QList<UninstallStep> steps,
                             UninstallerTimings timings)
    : mView(view)
    , mServices(services)
    , mSteps(std::move(steps))
    , mTimings(timings)
{}

QString QLUninstaller::applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

void QLUninstaller::awakeFromNib() { updateUI(); }

void QLUninstaller::nextScreen()
{
    switch (mPane) {
    case kWelcomePane:
        if (mView.confirm(QLLocalizedString(QString::fromLatin1(kConfirmationKey)), applicationName(),
                          QLLocalizedString(QStringLiteral("No")), QLLocalizedString(QStringLiteral("Yes"))))
            mPane = kUninstallPane;
        break;
    case kUninstallPane:
        mView.showRemovalStarted(
            Brand::pick(QStringLiteral("Uninstalling Tarnix Rizered"), QStringLiteral("Uninstalling Quellon Rizered")));
        mView.setButtonsEnabled(false);
        executeUninstallerScript();
        break;
    case kDonePane:
        mView.quit();
        return;
    }
    updateUI();
}

void QLUninstaller::previousScreen()
{
    if (mPane > kWelcomePane)
        --mPane;
    updateUI();
}

void QLUninstaller::updateUI()
{
    using Dot = QLUninstallerView::Dot;
    QLUninstallerView::UninstallerPaneState state;
    state.pane = mPane;
    for (int row = 0; row < 3; ++row)
        state.dots[row] = row == mPane ? Dot::Blue : Dot::Gray;
    switch (mPane) {
    case kWelcomePane:
        state.nextTitle = QStringLiteral("Continue");
        state.tabTitle = Brand::pick(QStringLiteral("Welcome to  Tarnix Rizered Uninstaller"),
                                     QStringLiteral("Welcome to  Quellon Rizered Uninstaller"));
        state.applicationName = Brand::pick(QStringLiteral("Tarnix Rizered"), QStringLiteral("Quellon Rizered"));
        break;
    case kUninstallPane:
        state.backEnabled = true;
        state.nextTitle = QStringLiteral("Uninstall");
        state.resetProgress = true;
        state.tabTitle = QStringLiteral("Easy Uninstaller on Mac ");
        state.box1Text = Brand::pick(QStringLiteral("Click Uninstall to remove Tarnix Rizered from your machine"),
                                     QStringLiteral("Click Uninstall to remove Quellon Rizered from your machine"));
        mProgress = 0;
        break;
    case kDonePane:
        state.nextTitle = QStringLiteral("Close");
        state.resultText = resultText();
        state.leftBehind = mReport.failures;
        break;
    }
    mView.showPane(state);
}

void QLUninstaller::increamentProgress()
{
    mProgress += UninstallPlan::kProgressStep;
    mView.showProgress(mProgress, QString::asprintf("%lf", mProgress));
}

// A refused authorisation leaves everything in place and shows the uninstall pane afresh.
void QLUninstaller::executeUninstallerScript()
{
    UninstallRun run(mServices, mTimings);
    mReport = run.execute(mSteps, [this] { increamentProgress(); });
    if (mReport.authenticated)
        mPane = kDonePane;
    mView.setButtonsEnabled(true);
}

// The removal is reported as it went: a success only when nothing was left behind.
QString QLUninstaller::resultText() const
{
    if (mReport.succeeded())
        return Brand::pick(QStringLiteral("Successfully Uninstalled Tarnix Rizered"),
                           QStringLiteral("Successfully Uninstalled Quellon Rizered"));
    return Brand::pick(QStringLiteral("Tarnix Rizered could not be uninstalled completely:"),
                       QStringLiteral("Quellon Rizered could not be uninstalled completely:"));
}
