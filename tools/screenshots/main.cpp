// Renders the client's windows and pages of the running brand to PNG files in
// a folder, for a person to look at; scripts/screenshots runs it once per brand
// under Xvfb. Usage: txscreenshots <folder>
#include "client/shell/views/ClientWindows.h"
#include "client/shell/views/TXMainWindow.h"
#include "client/shell/views/TXTabViewController.h"
#include "common/context/ProgramContext.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

// Lets queued layout and paint work run before a window is grabbed.
void settle()
{
    for (int round = 0; round < 5; ++round)
        QApplication::processEvents();
}

class Shots
{
public:
    explicit Shots(const QString &folder) : mFolder(folder) { QDir().mkpath(folder); }

    void save(const QString &name, QWidget *widget)
    {
        settle();
        save(name, widget->grab());
    }

    void save(const QString &name, const QPixmap &picture)
    {
        const QString path = mFolder + '/' + name + QStringLiteral(".png");
        if (!picture.save(path))
            QTextStream(stderr) << "could not write " << path << '\n';
    }

private:
    QString mFolder;
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProgramContext program;
    if (argc < 2) {
        QTextStream(stderr) << "usage: txscreenshots <folder>\n";
        return 2;
    }
    Shots shots(QString::fromLocal8Bit(argv[1]));

    ClientWindows windows;
    TXMainWindow *window = windows.mainWindow();
    TXTabViewController *tabs = windows.tabViewController();
    window->show();
    shots.save(QStringLiteral("main-window-logged-out"), window);

    windows.setLoggedInUserName(QStringLiteral("demo"));
    tabs->setControlsStatus(true);
    tabs->loginButton()->setText(QStringLiteral("demo"));
    tabs->setQuotaPercentage(37);
    tabs->folderSizeCalculationDidFinish({{QStringLiteral("fileSize"), QStringLiteral("734003200")},
                                          {QStringLiteral("FileCount"), QStringLiteral("1200")}});
    tabs->showSwitchMode();
    const QStringList pages = {QStringLiteral("backup"), QStringLiteral("restore"), QStringLiteral("log")};
    for (int row = 0; row < pages.size(); ++row) {
        row == 0 ? tabs->displayBackupView() : row == 1 ? tabs->displayRestoreView() : tabs->displayLogView();
        shots.save(QStringLiteral("main-window-page-") + pages.at(row), window);
    }
    tabs->displaySearchViewForMenu();
    shots.save(QStringLiteral("main-window-page-search"), window);
    tabs->displayTrashViewForMenu();
    shots.save(QStringLiteral("main-window-page-trash"), window);
    tabs->setMBackupMode(false);
    tabs->setTheLoginMode(false);
    tabs->showVisualHelpForMode(false);
    tabs->setQuotaPercentage(100);
    tabs->setBackupMiniPercentage(QStringLiteral("45%"));
    tabs->setBackupMiniProgressHidden(false);
    tabs->displayRestoreView();
    shots.save(QStringLiteral("main-window-sync-mode-full-quota"), window);
    return 0;
}
