// The uninstaller as its main() assembles it (the real window on the offscreen
// platform, the direct runner of a root process, the user's autostart entries)
// removing an installation made by `cmake --install` into a temporary prefix,
// with the installed client and monitor, the daemon and the engine running.
#include "NamedProgram.h"
#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "platform/LoginItems.h"
#include "support/SandboxFixture.h"
#include "uninstaller/views/UninstallerProgram.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>

namespace {

using namespace std::chrono_literals;

bool waitFor(const std::function<bool()> &condition)
{
    for (int tries = 0; tries < 200; ++tries) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

// Marks a file immutable, so that not even root can remove it; false where the file system cannot.
bool setImmutable(const QString &path, bool immutable)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

class UninstallEndToEndTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        ASSERT_EQ(::geteuid(), 0u) << "the direct runner needs a root process (as CI runs)";
        for (const char *name : {"TX_BIN_DIR", "TX_RESOURCES"})
            mSaved.append({name, qgetenv(name)});
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(TX_CMAKE_COMMAND, {"--install", TX_BUILD_DIR, "--prefix", prefix()});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
        // The programs run as installed: from their folder, their resources beside it.
        qputenv("TX_BIN_DIR", (app() + "/bin").toUtf8());
        qunsetenv("TX_RESOURCES");
    }

    void TearDown() override
    {
        for (const QString &path : mImmutable)
            setImmutable(path, false);
        mRunning.clear();
        for (const auto &[name, value] : mSaved)
            value.isNull() ? qunsetenv(name.constData()) : qputenv(name.constData(), value);
        SandboxFixture::TearDown();
    }

    QString prefix() const { return root() + "/opt/backup prefix"; }
    QString app() const { return prefix() + "/lib/tarnixvidezud"; }
    QString data() const { return home() + "/.local/share"; }
    QString config() const { return home() + "/.config"; }

    void useBrand(const char *brand)
    {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
    }

    QProcess &startInstalled(const QString &program)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("TX_BRAND");  // an installed program knows its brand by its name
        process->setProcessEnvironment(environment);
        process->start(app() + "/bin/" + program, {});
        EXPECT_TRUE(process->waitForStarted()) << program.toStdString();
        mRunning.push_back(std::move(process));
        return *mRunning.back();
    }

    // Each file of the installation, by its path.
    QStringList installedFiles() const
    {
        QStringList files;
        for (QDirIterator it(prefix(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            files.append(it.next());
        files.sort();
        return files;
    }

    // Runs the window through: Continue, "Yes", Uninstall.
    void uninstall(UninstallerProgram &program)
    {
        program.show();
        QTimer::singleShot(0, [] { AlertPaneWindowController::current()->cancelButton()->click(); });
        program.window().nextButton()->click();
        ASSERT_EQ(program.window().tabView()->currentIndex(), 1);
        program.window().nextButton()->click();
        ASSERT_EQ(program.window().tabView()->currentIndex(), 2);
    }

    QList<QPair<QByteArray, QByteArray>> mSaved;
    std::vector<std::unique_ptr<QProcess>> mRunning;
    QStringList mImmutable;
};

TEST_F(UninstallEndToEndTest, EachBrandRemovesExactlyItsInstallationAndReportsWhatStayed)
{
    // What the user keeps beside the roots, and what each brand's programs leave in them.
    const QStringList usersOwn = {prefix() + "/lib/my notes.txt", app() + "/my own file", data() + "/TarnixVidezud.txt",
                                  config() + "/autostart/other.desktop", support() + "/Shared.plist"};
    for (const QString &path : usersOwn)
        writeText(path, "mine");
    for (const char *product : {"TarnixVidezud", "QuellonVidezud"}) {
        writeText(data() + '/' + product + "/LoginInfo.plist", "x");
        writeText(config() + '/' + product + "/Monitor.plist", "x");
        writeText(support() + '/' + product + "/Users/demo/Times.plist", "x");
    }
    const QStringList beforeAll = installedFiles();

    // Tarnix: its client, monitor, the daemon and the engine run.
    useBrand("Tarnix");
    QProcess &client = startInstalled("TarnixVidezud");
    QProcess &monitor = startInstalled("TarnixVidezudMonitor");
    QProcess &otherMonitor = startInstalled("QuellonVidezudMonitor");
    NamedProgram daemon(root(), "txdaemon", "/bin/sleep", {"60"});
    QDir().mkpath(root() + "/engine");
    NamedProgram engine(root() + "/engine", "txruvo", "/bin/sleep", {"60"});
    LoginItems loginItems;
    ASSERT_TRUE(waitFor(
        [&] { return loginItems.exists("TarnixVidezudMonitor") && loginItems.exists("QuellonVidezudMonitor"); }));
    ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(data() + "/applications/TarnixVidezud.desktop"); }));

    UninstallerProgram tarnix(UninstallerTimings{1000ms, 20ms});
    uninstall(tarnix);
    EXPECT_EQ(tarnix.window().resultField()->text(), "Successfully Uninstalled Tarnix Rizered")
        << tarnix.window().resultDetailsField()->text().toStdString();
    EXPECT_EQ(tarnix.window().progressBar()->value(), 88);
    EXPECT_EQ(tarnix.window().progressText()->text(), "88.000000");

    EXPECT_TRUE(client.waitForFinished(10000));
    EXPECT_TRUE(monitor.waitForFinished(10000));
    EXPECT_TRUE(daemon.endsWithin(10000));
    EXPECT_TRUE(engine.endsWithin(10000));
    EXPECT_EQ(otherMonitor.state(), QProcess::Running);  // the other brand's program is not this one

    QStringList tarnixOnly;  // the installation less what the other brand uses too
    for (const QString &path : beforeAll) {
        const QString relative = path.mid(prefix().size());
        if (relative.contains("Tarnix") && !usersOwn.contains(path))
            tarnixOnly.append(path);
    }
    QStringList expectedLeft = beforeAll;
    for (const QString &gone : tarnixOnly)
        expectedLeft.removeAll(gone);
    EXPECT_EQ(installedFiles(), expectedLeft);
    EXPECT_GE(tarnixOnly.size(), 6);  // three programs, texts, help, icon, entry and receipt at least
    EXPECT_TRUE(QFileInfo::exists(app() + "/bin/txruvo"));
    for (const QString &gone : {data() + "/TarnixVidezud", config() + "/TarnixVidezud", support() + "/TarnixVidezud",
                                data() + "/applications/TarnixVidezud.desktop"})
        EXPECT_FALSE(QFileInfo::exists(gone)) << gone.toStdString();
    EXPECT_FALSE(loginItems.exists("TarnixVidezudMonitor"));
    EXPECT_TRUE(loginItems.exists("QuellonVidezudMonitor"));
    for (const QString &kept : usersOwn + QStringList{data() + "/QuellonVidezud/LoginInfo.plist",
                                                      support() + "/QuellonVidezud/Users/demo/Times.plist"})
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();

    // Quellon, the last brand: a file not even root may remove makes a reported failure.
    useBrand("Quellon");
    const QString stuck = support() + "/QuellonVidezud/Users/demo/Times.plist";
    ASSERT_TRUE(setImmutable(stuck, true)) << "the file system cannot mark a file immutable";
    mImmutable.append(stuck);
    UninstallerProgram quellon(UninstallerTimings{1000ms, 20ms});
    uninstall(quellon);
    EXPECT_EQ(quellon.window().resultField()->text(), "Quellon Rizered could not be uninstalled completely:");
    const QString details = quellon.window().resultDetailsField()->text();
    EXPECT_TRUE(details.contains(support() + "/QuellonVidezud could not be removed")) << details.toStdString();
    EXPECT_TRUE(otherMonitor.waitForFinished(10000));
    EXPECT_FALSE(loginItems.exists("QuellonVidezudMonitor"));
    QStringList left = usersOwn + QStringList{stuck};
    left.sort();
    QStringList leftInPrefix;
    for (const QString &path : left)
        if (path.startsWith(prefix()))
            leftInPrefix.append(path);
    EXPECT_EQ(installedFiles(), leftInPrefix);  // the shared engine and images went with the last one
    for (const QString &kept : usersOwn)
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
}

}  // namespace
