#include "desktop/logs/views/LogViewController.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class LogViewControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        folder = std::make_unique<SessionLogsFolder>(root() + "/SessionLogs");
        QDir().mkpath(folder->logXmlFolder());
        LogViewController::Hooks hooks;
        hooks.postPeriod = [this](const QString &name) { posted.append(name); };
        alerts.unscripted = AlertPresenter::kAnswerDefault;
        viewer = std::make_unique<LogViewController>(*folder, alerts, hooks, LogViewController::Timings{0ms});
    }

    // A day file with one backup record whose session log is logFile.
    void writeDay(const QDate &day, const QString &logFile)
    {
        const QString key = SessionLogsFolder::dayKey(day);
        const QString record =
            QStringLiteral("<record><datetime>Dec 01, 2026 10:00:00 AM</datetime><status>Success</status>"
                           "<files>3</files><optype>1</optype><logfile>%1</logfile><logname>%2</logname>"
                           "</record>")
                .arg(logFile, key);
        writeText(folder->dayFilePath(key),
                  ("<?xml version=\"1.0\" encoding=\"utf-8\"?><records>" + record + "</records>").toUtf8());
    }

    // Runs the event loop until the viewer holds count records (or a second passed).
    void waitForRecords(qsizetype count)
    {
        QDeadlineTimer deadline(1s);
        while (viewer->records().size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<SessionLogsFolder> folder;
    ScriptedAlerts alerts;
    std::unique_ptr<LogViewController> viewer;
    QStringList posted;
};

TEST_F(LogViewControllerTest, AFolderThatCannotBeWrittenOffersAnotherAndHelpOpensTheHelpPage)
{
    QStringList answers = {root() + "/missing", ""};  // a folder that is not there, then "Cancel"
    int choices = 0;
    QList<QUrl> opened;
    LogViewController::Hooks hooks;
    hooks.chooseFolder = [&] { return answers.value(choices++); };
    hooks.openLink = [&](const QUrl &url) { opened.append(url); };
    hooks.helpPage = QUrl("https://example.test/help/Mac/log.htm");
    LogViewController logs(*folder, alerts, hooks, LogViewController::Timings{0ms});

    logs.archiveSelectedLog();
    EXPECT_EQ(choices, 2);  // "Select another" opened the chooser again
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown[0].title, "Unable to write the file(s)");
    EXPECT_EQ(alerts.shown[0].message, "Selected folder doesn't have write permission. ");
    EXPECT_EQ(alerts.shown[0].defaultButton, "Select another");
    EXPECT_EQ(alerts.shown[0].alternateButton, "OK");

    ASSERT_TRUE(logs.helpButton());
    logs.helpButton()->click();
    EXPECT_EQ(opened, QList<QUrl>{hooks.helpPage});
    EXPECT_FALSE(viewer->helpButton());  // no help page, no button
}

TEST_F(LogViewControllerTest, LastWeekShowsEightDaysWithTodayNewestFirst)
{
    const QDate today = QDate::currentDate();
    for (int daysAgo = 0; daysAgo <= 8; ++daysAgo)
        writeDay(today.addDays(-daysAgo), root() + QStringLiteral("/log-%1").arg(daysAgo));
    viewer->DisplayLogsFrom(0);
    waitForRecords(9);
    ASSERT_EQ(viewer->records().size(), 8) << "today and the seven days before it";
    EXPECT_EQ(viewer->records().first().logname, SessionLogsFolder::dayKey(today));
    EXPECT_EQ(viewer->records().last().logname, SessionLogsFolder::dayKey(today.addDays(-7)));

    viewer->DisplayLogsFrom(2);
    waitForRecords(9);
    EXPECT_EQ(viewer->records().size(), 9) << "from the beginning: every day file";
}

TEST_F(LogViewControllerTest, AChosenPeriodOnlyTakesEffectWhenItsNotificationComesBack)
{
    viewer->sortLogs(3);
    EXPECT_EQ(posted, QStringList{"LastTwoWeeks"});
    EXPECT_EQ(viewer->selectedPeriod(), 0);
    viewer->sortLogsFromNotification("LastTwoWeeks");
    EXPECT_EQ(viewer->selectedPeriod(), 3);
    LogViewController other(*folder, alerts, {}, LogViewController::Timings{0ms});
    other.reloadLogViewOnTableViewSelectionChange();
    EXPECT_EQ(other.selectedPeriod(), 3) << "the period is kept for the next time";
}

TEST_F(LogViewControllerTest, LogsAreClippedAfter10240BytesAndTheSummaryTabComesAndGoes)
{
    const QString exact = root() + "/exact", longer = root() + "/longer";
    writeText(exact, QByteArray(10240, 'a'));
    writeText(longer, QByteArray(10241, 'b'));
    writeText(longer + ".summary", "Click here to view excluded files/ folders");
    writeDay(QDate::currentDate(), exact);
    writeDay(QDate::currentDate().addDays(-1), longer);
    viewer->DisplayLogsFrom(0);
    waitForRecords(2);
    ASSERT_EQ(viewer->records().size(), 2);

    const int exactRow = viewer->records().first().logfile == exact ? 0 : 1;
    viewer->selectRow(exactRow);
    EXPECT_EQ(viewer->detailText(), QString(10240, 'a')) << "shown whole, without the notice";
    EXPECT_FALSE(viewer->hasSummaryTab());

    viewer->selectRow(1 - exactRow);
    EXPECT_EQ(viewer->detailText(), QString(10240, 'b') + "... \n [Log clipped]  View entire log");
    EXPECT_TRUE(viewer->hasSummaryTab()) << "a record with a summary brings its tab back in first place";
    EXPECT_EQ(viewer->summaryText(), "Click here to view excluded files/ folders");
}

TEST_F(LogViewControllerTest, DeletingTheOnlyRecordOfADayRemovesItsFileAndLog)
{
    const QString log = folder->subfolder("Backup") + "/12-01-2026-10-00-00";
    writeText(log, "log");
    writeDay(QDate::currentDate(), log);
    viewer->DisplayLogsFrom(0);
    waitForRecords(1);
    ASSERT_EQ(viewer->records().size(), 1);
    viewer->deleteRow(0);
    EXPECT_TRUE(viewer->records().isEmpty());
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_FALSE(QFile::exists(folder->dayFilePath(SessionLogsFolder::dayKey(QDate::currentDate()))));
}

}  // namespace
