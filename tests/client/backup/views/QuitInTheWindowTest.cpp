#include "LoggedInClientFixture.h"

#include <QElapsedTimer>
#include <QThreadPool>

// Quitting ends the program at once, though the sidebar's walk of the drive (which pauses
// after each entry) would take long minutes.
class QuitInTheWindowTest : public LoggedInClientFixture
{};

TEST_F(QuitInTheWindowTest, TheProgramEndsAtOnceWhileTheDriveIsWalked)
{
    // 4000 entries: the walk would take 40 s.
    const QString userFolder = volumes() + "/BackupDrive/TarnixVidezud/demo/Office";
    QDir().mkpath(userFolder);
    for (int i = 0; i < 4000; ++i) {
        QFile file(userFolder + QString("/f%1").arg(i));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    openLoggedIn();
    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    QCoreApplication::processEvents();
    const QString measuring = tabs.sidebar()->spaceUsedText();

    QElapsedTimer quitting;
    quitting.start();
    client.reset();
    // Nothing is left running that the program's end would wait for.
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(2000));
    EXPECT_LT(quitting.elapsed(), 2000) << measuring.toStdString();
}
