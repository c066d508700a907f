// The monitor adds its login item at its first start, so that it starts with every
// login after, and leaves an entry the user changed or switched off as it is.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class MonitorLoginItemTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(mFolder.isValid()); }

    QString entry() const { return mFolder.path() + "/.config/autostart/TarnixVidezudMonitor.desktop"; }

    // Starts the monitor, lets it settle and ends it.
    void runMonitor()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", mFolder.path());
        environment.insert("XDG_CONFIG_HOME", mFolder.path() + "/.config");
        environment.insert("XDG_DATA_HOME", mFolder.path() + "/.local/share");
        environment.insert("XDG_RUNTIME_DIR", mFolder.path());
        environment.insert("TX_SUPPORT_ROOT", mFolder.path() + "/support");
        environment.remove("TX_BRAND");
        QProcess monitor;
        monitor.setProcessEnvironment(environment);
        monitor.start(mProgram);
        ASSERT_TRUE(monitor.waitForStarted());
        for (int tries = 0; tries < 100 && !QFile::exists(entry()); ++tries)
            QThread::msleep(50);
        QThread::msleep(200);
        monitor.terminate();
        monitor.waitForFinished();
    }

    QString readEntry() const
    {
        QFile file(entry());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir mFolder;
    QString mProgram = qEnvironmentVariable("TX_BIN_DIR") + "/TarnixVidezudMonitor";
};

TEST_F(MonitorLoginItemTest, TheFirstStartAddsTheLoginItem)
{
    runMonitor();
    EXPECT_TRUE(readEntry().contains("\nExec=\"" + mProgram + "\"\n")) << readEntry().toStdString();
}

TEST_F(MonitorLoginItemTest, AnEntryTheUserSwitchedOffStaysSwitchedOff)
{
    const QString switchedOff =
        "[Desktop Entry]\nType=Application\nExec=/elsewhere/TarnixVidezudMonitor\nHidden=true\n";
    QDir().mkpath(mFolder.path() + "/.config/autostart");
    QFile file(entry());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(switchedOff.toUtf8());
    file.close();
    runMonitor();
    EXPECT_EQ(readEntry(), switchedOff);
}

}  // namespace
