// Renders the uninstaller's panes of the running brand to PNG files in a
// folder, for a person to look at; scripts/screenshots runs it once per brand
// under Xvfb, inside a sandbox. Nothing is stopped or removed: the pictured
// removal only pretends, and one of its items pretends to fail.
// Usage: txuninstallershots <folder>
#include "common/context/ProgramContext.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "uninstaller/removal/UninstallPlan.h"
#include "uninstaller/views/UninstallerProgram.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

void settle()
{
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(const QString &folder, const QString &name, const QPixmap &picture)
{
    const QString path = folder + '/' + name + QStringLiteral(".png");
    if (picture.save(path))
        return true;
    QTextStream(stderr) << "could not write " << path << '\n';
    return false;
}

// Grants the rights and reports every removal done, but the ones it was told to fail.
class PretendedRemoval : public RemovalServices
{
public:
    explicit PretendedRemoval(QStringList failingPaths = {})
        : mFailingPaths(std::move(failingPaths))
    {}
    bool authenticate() override { return true; }
    bool runsAsAdministrator() const override { return false; }
    QString removeItem(const QString &path) override
    {
        return mFailingPaths.contains(path) ? QStringLiteral("Operation not permitted") : QString();
    }
    bool removeLoginItemWithPath(const QString &) override { return false; }
    bool hasLoginItemWithPath(const QString &) override { return false; }

private:
    QStringList mFailingPaths;
};

// The brand's removal of its folders and files: no running program is touched,
// and the sandbox holds no installation to look for.
QList<UninstallStep> removalOnly()
{
    QList<UninstallStep> steps = UninstallPlan::forRunningBrand();
    steps.removeIf([](const UninstallStep &step) { return step.action != UninstallStep::Action::RemoveItems; });
    return steps;
}

// Runs the panes through to the end with the given removal, saving each on the way.
void savePanes(const QString &folder, RemovalServices &services, bool allPanes, const QString &donePicture)
{
    UninstallerProgram program(services, removalOnly());
    QLUninstallerWindow &window = program.window();
    program.show();
    settle();
    if (allPanes)
        save(folder, QStringLiteral("uninstaller-1-welcome"), window.grab());
    QTimer::singleShot(200, [&] {
        AlertPaneWindowController *alert = AlertPaneWindowController::current();
        if (allPanes) {
            // The question shows centred over the window, as on the screen.
            QPixmap picture = window.grab();
            QPainter painter(&picture);
            painter.drawPixmap(alert->window()->geometry().topLeft() - window.geometry().topLeft(),
                               alert->window()->grab());
            painter.end();
            save(folder, QStringLiteral("uninstaller-2-confirmation"), picture);
        }
        alert->cancelButton()->click();  // "Yes"
    });
    window.nextButton()->click();
    settle();
    if (allPanes) {
        save(folder, QStringLiteral("uninstaller-3-uninstall"), window.grab());
        window.showRemovalStarted(QStringLiteral("Uninstalling ") + QLUninstaller::applicationName());
        window.showProgress(48, QString::asprintf("%lf", 48.0));
        window.setButtonsEnabled(false);
        settle();
        save(folder, QStringLiteral("uninstaller-4-progress"), window.grab());
        program.controller().updateUI();
        window.setButtonsEnabled(true);
    }
    window.nextButton()->click();
    settle();
    save(folder, donePicture, window.grab());
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;
    if (argc < 2) {
        QTextStream(stderr) << "usage: txuninstallershots <folder>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    PretendedRemoval succeeding;
    savePanes(folder, succeeding, true, QStringLiteral("uninstaller-5-done"));
    const QList<UninstallStep> steps = removalOnly();
    QStringList everyPath;  // more failures than the pane has room for
    for (const UninstallStep &step : steps)
        everyPath += step.subjects;
    PretendedRemoval failing(everyPath);
    savePanes(folder, failing, false, QStringLiteral("uninstaller-6-done-with-failure"));
    return 0;
}
