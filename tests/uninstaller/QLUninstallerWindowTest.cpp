#include "RecordingRemovalServices.h"
#include "common/context/ProgramContext.h"
#include "common/texts/TextTable.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "support/SandboxFixture.h"
#include "uninstaller/views/UninstallerProgram.h"

#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace {

using Action = UninstallStep::Action;

class QLUninstallerWindowTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        mFile = root() + "/data/Settings.plist";
        writeText(mFile, "x");
        mServices.loginItems = {"/opt/tx/bin/Monitor"};
        mProgram = std::make_unique<UninstallerProgram>(
            mServices, QList<UninstallStep>{{Action::RemoveItems, {mFile}, true, {}},
                                            {Action::RemoveLoginItems, {"/opt/tx/bin/Monitor"}, true, {}},
                                            {Action::RemoveItems, {}, false, {}}});
        mProgram->show();
    }

    // Presses Continue and answers the question with the given button when it shows.
    void continueAnswering(QPushButton *(AlertPaneWindowController::*button)() const)
    {
        QTimer::singleShot(0, [button] {
            AlertPaneWindowController *alert = AlertPaneWindowController::current();
            ASSERT_NE(alert, nullptr);
            (alert->*button)()->click();
        });
        window().nextButton()->click();
    }

    QLUninstallerWindow &window() { return mProgram->window(); }
    int pane() { return window().tabView()->currentIndex(); }

    RecordingRemovalServices mServices;
    QString mFile;
    std::unique_ptr<UninstallerProgram> mProgram;
};

TEST_F(QLUninstallerWindowTest, ContinueAsksFirstAndOnlyYesGoesOn)
{
    EXPECT_EQ(pane(), 0);
    EXPECT_EQ(window().nextButton()->text(), "Continue");
    EXPECT_FALSE(window().previousButton()->isEnabled());
    EXPECT_EQ(window().tabTitle()->text(), "Welcome to  Tarnix Rizered Uninstaller");

    continueAnswering(&AlertPaneWindowController::okButton);  // "No", the default
    EXPECT_EQ(pane(), 0);
    continueAnswering(&AlertPaneWindowController::cancelButton);  // "Yes"
    EXPECT_EQ(pane(), 1);
    EXPECT_EQ(window().nextButton()->text(), "Uninstall");
    EXPECT_TRUE(window().previousButton()->isEnabled());
    EXPECT_TRUE(window().uninstallPaneBox1()->isVisible());
    EXPECT_FALSE(window().uninstallPaneBox2()->isVisible());
    window().previousButton()->click();
    EXPECT_EQ(pane(), 0);
    EXPECT_TRUE(mServices.removed.isEmpty());
}

// The question names the brand being removed, in each brand.
TEST_F(QLUninstallerWindowTest, TheQuestionNamesTheBrandBeingRemoved)
{
    for (const char *brand : {"Tarnix", "Quellon"}) {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
        UninstallerProgram program(mServices, {});
        QString question;
        QTimer::singleShot(0, [&question] {
            AlertPaneWindowController *alert = AlertPaneWindowController::current();
            for (const QLabel *label : alert->window()->findChildren<QLabel *>())
                question += label->text();
            alert->okButton()->click();
        });
        program.window().nextButton()->click();
        EXPECT_TRUE(question.contains(QString("completely remove %1 Rizered and all").arg(brand)))
            << question.toStdString();
        EXPECT_EQ(program.window().tabTitle()->text(), QString("Welcome to  %1 Rizered Uninstaller").arg(brand));
    }
}

TEST_F(QLUninstallerWindowTest, UninstallRemovesAdvancesAndReportsSuccess)
{
    continueAnswering(&AlertPaneWindowController::cancelButton);
    window().nextButton()->click();
    EXPECT_EQ(pane(), 2);
    EXPECT_FALSE(QFileInfo::exists(mFile));
    EXPECT_TRUE(mServices.loginItems.isEmpty());
    EXPECT_EQ(window().progressBar()->value(), 16);  // two steps advance here; a full run has eleven
    EXPECT_EQ(window().progressText()->text(), "16.000000");
    EXPECT_EQ(window().resultField()->text(), "Successfully Uninstalled Tarnix Rizered");
    EXPECT_FALSE(window().resultDetailsField()->isVisible());
    EXPECT_EQ(window().nextButton()->text(), "Close");
    EXPECT_TRUE(window().nextButton()->isEnabled());
    EXPECT_FALSE(window().previousButton()->isEnabled());
}

TEST_F(QLUninstallerWindowTest, RefusedRightsShowTheUninstallPaneAfreshAndAskAgain)
{
    mServices.grantsRights = false;
    continueAnswering(&AlertPaneWindowController::cancelButton);
    window().nextButton()->click();
    EXPECT_EQ(pane(), 1);
    EXPECT_TRUE(window().uninstallPaneBox1()->isVisible());
    EXPECT_FALSE(window().uninstallPaneBox2()->isVisible());
    EXPECT_EQ(window().progressBar()->value(), 0);
    EXPECT_TRUE(window().nextButton()->isEnabled());
    EXPECT_TRUE(QFileInfo::exists(mFile));

    mServices.grantsRights = true;
    window().nextButton()->click();
    EXPECT_EQ(mServices.authentications, 2);
    EXPECT_EQ(pane(), 2);
}

TEST_F(QLUninstallerWindowTest, AFailureIsReportedNeverPassedOffAsSuccess)
{
    mServices.failingPaths = {mFile};
    continueAnswering(&AlertPaneWindowController::cancelButton);
    window().nextButton()->click();
    EXPECT_EQ(pane(), 2);
    EXPECT_EQ(window().resultField()->text(), "Tarnix Rizered could not be uninstalled completely:");
    EXPECT_EQ(window().resultDetailsField()->text(), "• " + mFile + " could not be removed: Operation not permitted");
    EXPECT_TRUE(window().resultDetailsField()->isVisible());
}

}  // namespace
