#include "client/shell/views/sidebar/TXTabViewController.h"
#include "client/shell/sidebar/TXTabViewControllerDelegate.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/sidebar/Sidebar.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/kit/views/TXGroundView.h"
#include "desktop/kit/views/TXTabView.h"
#include "platform/PathTemplate.h"
#include "support/SandboxFixture.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class FakeMainController : public TXTabViewControllerDelegate
{
public:
    QString loggedInUserName() const override { return userName; }
    bool isReIndexInProgress() const override { return reIndexing; }
    SidebarRules::Activity runningActivity() const override { return activity; }

    QString userName = QStringLiteral("demo");
    bool reIndexing = false;
    SidebarRules::Activity activity;
};

class TXTabViewControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        tabs = std::make_unique<TXTabViewController>(&mainController,
                                                     TXTabViewController::Timings{std::chrono::milliseconds(10)});
        tabs->setControllers(&window);
        sidebar = tabs->sidebar();
        QObject::connect(tabs.get(), &TXTabViewController::reloadLogView, [this] { ++logReloads; });
        QObject::connect(tabs.get(), &TXTabViewController::reloadRemoteView, [this] { ++restoreReloads; });
        QObject::connect(tabs.get(), &TXTabViewController::reIndexAlertRequested,
                         [this](const QString &message) { alerts.append(message); });
        QObject::connect(tabs.get(), &TXTabViewController::displaySearchRequested,
                         [this](const QString &text, const QString &) { searches.append(text); });
        QObject::connect(sidebar, &Sidebar::modeSwitched, [this] { ++modeSwitches; });
    }

    QString modeFile() const
    {
        return PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("BackupModePath")), {"demo"});
    }

    FakeMainController mainController;
    TXMainWindow window;
    std::unique_ptr<TXTabViewController> tabs;
    Sidebar *sidebar = nullptr;
    int logReloads = 0;
    int restoreReloads = 0;
    int modeSwitches = 0;
    QStringList alerts;
    QStringList searches;
};

TEST_F(TXTabViewControllerTest, EachSidebarRowShowsItsPageAndMovesTheMarker)
{
    EXPECT_EQ(sidebar->selectedRow(), 0);
    EXPECT_EQ(tabs->selectedTab(), Tab::Backup);
    tabs->displayLogView();
    EXPECT_EQ(tabs->selectedTab(), Tab::Log);
    EXPECT_EQ(tabs->groundView()->selectedItem(), 2);
    EXPECT_EQ(logReloads, 1) << "choosing Log reloads the log list";
    tabs->displayRestoreView();
    tabs->displayBackupView();
    tabs->displayRestoreView();
    EXPECT_EQ(tabs->selectedTab(), Tab::Restore);
    EXPECT_EQ(restoreReloads, 2) << "choosing Restore reloads it each time";
    EXPECT_EQ(logReloads, 1);
}

TEST_F(TXTabViewControllerTest, SearchOpensTheSearchPageUnlessTheFieldIsEmptyOrTheIndexIsRebuilt)
{
    tabs->displayLogView();
    tabs->search();
    EXPECT_EQ(tabs->selectedTab(), Tab::Log) << "an empty field starts nothing";
    EXPECT_TRUE(searches.isEmpty());

    sidebar->mSearchField()->setText(QStringLiteral("report"));
    mainController.reIndexing = true;
    tabs->search();
    EXPECT_EQ(alerts, QStringList{"Unable to proceed as database re-indexing is underway."});
    EXPECT_EQ(tabs->selectedTab(), Tab::Log);

    mainController.reIndexing = false;
    tabs->search();
    EXPECT_EQ(tabs->selectedTab(), Tab::Search);
    EXPECT_EQ(sidebar->selectedRow(), 1) << "the search page keeps the Restore row selected";
    EXPECT_EQ(searches, QStringList{"report"});
}

TEST_F(TXTabViewControllerTest, ModeSwitchWritesTheModeFileOnlyWhenNothingRuns)
{
    sidebar->showSwitchMode();
    mainController.activity.searchRunning = true;
    sidebar->toggleAppMode();
    EXPECT_TRUE(sidebar->mBackupMode());
    EXPECT_FALSE(QFile::exists(modeFile()));
    EXPECT_EQ(modeSwitches, 0);

    mainController.activity = {};
    sidebar->toggleAppMode();
    EXPECT_FALSE(sidebar->mBackupMode());
    EXPECT_EQ(readText(modeFile()), "0");
    EXPECT_TRUE(sidebar->isCueVisible());
    sidebar->toggleAppMode();
    EXPECT_EQ(readText(modeFile()), "1");
    EXPECT_EQ(modeSwitches, 2);
    EXPECT_EQ(sidebar->selectedRow(), 0) << "a switch shows the Backup page";
    EXPECT_EQ(tabs->selectedTab(), Tab::Backup);
}

TEST_F(TXTabViewControllerTest, SpaceUsedLabelKeepsItsTextForUnknownSizes)
{
    int requests = 0;
    QObject::connect(sidebar, &Sidebar::spaceUsedCalculationRequested, [&requests] { ++requests; });
    sidebar->viewWasClicked();
    sidebar->viewWasClicked();
    EXPECT_EQ(requests, 1) << "one measurement at a time";
    sidebar->folderSizeCalculationDidFinish({{"fileSize", "1024"}, {"FileCount", "1"}});
    EXPECT_EQ(sidebar->spaceUsedText(), "Space used on your device: 1 KB");
    sidebar->viewWasClicked();
    sidebar->folderSizeCalculationDidFinish({{"fileSize", "-2"}});
    EXPECT_EQ(sidebar->spaceUsedText(), "Space used on your device: 1 KB");
    sidebar->viewWasClicked();
    sidebar->folderSizeCalculationDidFail();
    EXPECT_EQ(sidebar->spaceUsedText(), "Space used on portable device: 0 B");

    mainController.userName.clear();
    sidebar->viewWasClicked();
    EXPECT_EQ(requests, 3) << "nobody logged in: nothing to measure";
}

}  // namespace
