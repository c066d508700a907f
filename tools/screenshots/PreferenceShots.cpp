// Renders the monitor's preferences panes and its error report window of the running brand to PNG files in a folder,
// for a person to look at; scripts/screenshots runs it once per brand under
// Xvfb, inside a sandbox. Usage: txpreferenceshots <folder>
#include "common/backupset/MonitorExclusionPreferences.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "common/login/StoredLoginDetails.h"
#include "desktop/alerts/views/AlertPanePresenter.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "monitor/prefs/MonitorPreferenceFile.h"
#include "monitor/views/ExcludeViewController.h"
#include "monitor/views/GeneralViewController.h"
#include "monitor/views/PreferencesWindowView.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/PathRoots.h"
#include "platform/PropertyList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>

namespace {

void settle()
{
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(const QString &folder, const QString &name, QWidget *window)
{
    settle();
    const QString path = folder + '/' + name + QStringLiteral(".png");
    if (window->grab().save(path))
        return true;
    QTextStream(stderr) << "could not write " << path << '\n';
    return false;
}

// The demo user as the client leaves it after a login, with a few exclusions of its own.
void writeDemoUser()
{
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    files.setTarnixUserName(QStringLiteral("demo"));
    const QString login = files.pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath);
    QDir().mkpath(QFileInfo(login).path());
    PropertyList::write(login, QVariantMap{{StoredLoginDetails::kTarnixUsername, QStringLiteral("demo")},
                                           {StoredLoginDetails::kQuellonUserName, QStringLiteral("demo")}});
    const QString home = PathRoots::homeFolder();
    for (const char *folder : {"/Videos", "/Downloads/old", "/.cache"})
        QDir().mkpath(home + QLatin1String(folder));
    MonitorPreferenceFile::updateUser(QStringLiteral("demo"), [&home](QVariantMap &user) {
        user.insert(MonitorExclusionPreferences::kUserSpecifiedExclusion,
                    QVariantMap{{home + QStringLiteral("/Videos"), 1}, {home + QStringLiteral("/Downloads/old"), 0}});
        user.insert(MonitorExclusionPreferences::kPartialFileExclusion,
                    QVariantMap{{QStringLiteral("/TarnixVidezud"), 1}, {QStringLiteral("*.tmp"), 1}});
    });
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;
    if (argc < 2) {
        QTextStream(stderr) << "usage: txmonitorshots <folder>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    writeDemoUser();

    AlertPanePresenter alerts;
    DistributedNotificationCenter notifications;
    PreferencesWindowView window(alerts, notifications, [](const QString &, int) {});
    window.showPreferences(QStringLiteral("demo"), true);
    bool saved = save(folder, QStringLiteral("monitor-preferences-general"), &window);
    window.generalPane()->proxyModes()->button(1)->click();
    window.generalPane()->proxyAddressField()->setText(QStringLiteral("proxy.example.net"));
    window.generalPane()->proxyPortField()->setText(QStringLiteral("3128"));
    saved = save(folder, QStringLiteral("monitor-preferences-general-proxy"), &window) && saved;
    window.selectPane(1);
    saved = save(folder, QStringLiteral("monitor-preferences-exclude"), &window) && saved;
    window.close();

    SendErrorReportController report(alerts);
    report.showErrorReportWindow();
    report.userEmailIdField()->setText(QStringLiteral("demo@example.org"));
    report.messageTextArea()->setPlainText(QStringLiteral("My exclusions are not kept after a restart."));
    saved = save(folder, QStringLiteral("monitor-error-report-window"), report.sendErrorReportWindow()) && saved;
    return saved ? 0 : 1;
}
