#include "BrowserFakes.h"
#include "VersionFakes.h"

#include "client/browser/restore/RestoreController.h"
#include "client/browser/restore/RestoreDestinationStore.h"
#include "client/browser/restore/RestoreRules.h"
#include "client/browser/restore/RestoreSessionLog.h"
#include "client/browser/restore/RestoreView.h"
#include "client/browser/restore/RestoredXattrs.h"
#include "client/browser/search/SearchRestore.h"
#include "client/browser/search/SearchResults.h"
#include "client/browser/tree/RemoteTreeController.h"
#include "client/browser/versions/VersionBrowser.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/ProgressReport.h"
#include "common/utility/QLUtility.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using RestoreRules::CheckedItem;

TEST(RestoreRulesTest, TheGroupingWalk)
{
    const struct
    {
        QList<CheckedItem> items;
        QList<QPair<QString, QStringList>> fileSets;
        QStringList folders;
        QStringList contents;
        QStringList indexPaths;
    } cases[] = {
        {{{"A/x", false}, {"B/z", false}, {"C", true}, {"A/y", false}},
         {{"A", {"x", "y"}}, {"B", {"z"}}},
         {"C"},
         {"C", "A/x", "A/y", "B/z"},
         {"/A/x", "/A/y", "/B/z"}},
        {{{"C", true}, {"D/E", true}}, {}, {"C", "D/E"}, {"C", "D/E"}, {}},
        {{{"top.txt", false}, {"A/x", false}},
         {{"", {"top.txt"}}, {"A", {"x"}}},
         {},
         {"top.txt", "A/x"},
         {"/top.txt", "/A/x"}},
    };
    for (const auto &c : cases) {
        const RestoreRules::Selection selection = RestoreRules::groupSelection(c.items);
        EXPECT_EQ(selection.fileSets, c.fileSets);
        EXPECT_EQ(selection.folders, c.folders);
        EXPECT_EQ(selection.contents, c.contents);
        EXPECT_EQ(selection.indexPathsOfFiles(), c.indexPaths);
    }
}

TEST(RestoreRulesTest, RestoredLocationDropsTheComputerFolderTheIndexNames)
{
    EXPECT_EQ(RestoreRules::restoredLocation("/dest", "Office/Users/ann/TM", "/Office"), "/dest/Users/ann/TM");
    EXPECT_EQ(RestoreRules::restoredLocation("/dest", "Office", "/Office"), "/dest");
    EXPECT_EQ(RestoreRules::restoredLocation("/dest", "Officer/ann", "/Office"), "/dest/Officer/ann");
    EXPECT_EQ(RestoreRules::restoredLocation("/dest", "Users/ann", ""), "/dest/Users/ann");
}

// The log's lines without their dates.
QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {"(missing)"};
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QRegularExpression(R"(\[[^\]]*\] )"), "");
    return text.split('\n');
}

class RestoreSessionLogTest : public SandboxFixture
{
protected:
    QString path() const { return root() + "/Restore/12-01-2026-10-00-00"; }
    QLBackupProgressLogger restoreLogger;
    QLBackupProgressLogger interactiveLogger;
};

TEST_F(RestoreSessionLogTest, TheFourEndsWriteTheirLinesInOrder)
{
    const RestoreSessionLog::Counts counts{5, 2, 3};
    using Page = RestoreSessionLog::Page;
    const QString notice =
        "Some of the files are not transferred. For details check the 'Error:' in the log messages. ";
    const struct
    {
        Page page;
        const char *end;
        std::function<void(RestoreSessionLog &)> write;
        QStringList log;
        QStringList summary;
        int recordedSync;
    } cases[] = {
        {Page::Restore,
         "success",
         [&](RestoreSessionLog &log) { log.succeeded("END", counts); },
         {"End Time: END", " ", "Restored successfully ", QString(50, '-'), " ", ""},
         {"Files considered for restore: 5 ", "Files already present in the restore location: 2 ",
          "Files restored  now: 3 ", ""},
         2},
        {Page::Restore,
         "failure",
         [&](RestoreSessionLog &log) { log.failed("txruvo error: gone", "END", counts); },
         {"txruvo error: gone ",
          "Some of the files are not transferred. For details check the 'Error:' in the log messages. ",
          "End Time: END", " ", ""},
         {"Files considered for restore: 5 ", "Files already present in the restore location: 2 ",
          "Files restored  now: 3 ",
          "Some of the files are not transferred. For details check the 'Error:' in the log messages. ",
          "txruvo error: gone ", ""},
         2},
        {Page::Restore,
         "cancel",
         [&](RestoreSessionLog &log) { log.cancelled("END", counts); },
         {"Restore operation cancelled ", "End time: END ", ""},
         {"Files considered for restore: 5 ", "Files already present in the restore location: 2 ",
          "Files restored  now: 3 ", ""},
         2},
        {Page::Restore,
         "over quota",
         [&](RestoreSessionLog &log) { log.overQuota("Quota exceeded", "END", 5); },
         {"End time: END ", ""},
         {"Quota exceeded ", "Files considered for restore: 5 ", ""},
         0},
        // A restore of search results words its ends its own way: one blank in "restored now" after a failure.
        {Page::Search,
         "search success",
         [&](RestoreSessionLog &log) { log.succeeded("END", counts); },
         {"End time: END", " ", "Restored successfully,", QString(50, '-'), " ", ""},
         {"Files considered for restore: 5 ", "Files already present in the restore location: 2 ",
          "Files restored  now: 3 ", ""},
         2},
        {Page::Search,
         "search failure",
         [&](RestoreSessionLog &log) { log.failed("txruvo error: gone", "END", counts); },
         {"txruvo error: gone ", notice, "End Time: END ", ""},
         {"txruvo error: gone ", notice, "Files considered for restore: 5 ",
          "Files already present in the restore location: 2 ", "Files restored now: 3 ", ""},
         2},
        {Page::Search,
         "search cancel",
         [&](RestoreSessionLog &log) { log.cancelled("END", counts); },
         {"End Time: END ", ""},
         {"(missing)"},
         2},
        {Page::Search,
         "search over quota",
         [&](RestoreSessionLog &log) { log.overQuota("Quota exceeded", "END", 5); },
         {"End Time: END ", ""},
         {"Quota exceeded ", ""},
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.end);
        QFile::remove(path());
        QFile::remove(path() + ".summary");
        RestoreSessionLog log(path(), restoreLogger, c.page, interactiveLogger);
        c.write(log);
        restoreLogger.flushAll();
        EXPECT_EQ(linesOf(path()), c.log);
        EXPECT_EQ(linesOf(path() + ".summary"), c.summary);
        const SessionLogReport report = log.report("12/01/2026 10:00:05 AM", counts);
        EXPECT_EQ(report.operation, "Restore");
        EXPECT_EQ(report.totalFileCount, 5);
        EXPECT_EQ(report.syncFileCount, c.recordedSync);
    }
}

TEST_F(RestoreSessionLogTest, TheHeaderListsTheContents)
{
    RestoreSessionLog log(path(), restoreLogger, RestoreSessionLog::Page::Restore, interactiveLogger);
    log.started("ann", "START", "/home/ann/Restored", {"C", "A/x"});
    restoreLogger.flushAll();
    EXPECT_EQ(linesOf(path()), (QStringList{"Restore Operation ", "Username: ann ", "Start Time: START ",
                                            "Restore location: '/home/ann/Restored'", " ", "Restore Content:", "(",
                                            "    \"C\",", "    \"A/x\"", ")", " ", ""}));
    QFile::remove(path());
    RestoreSessionLog fromSearch(path(), restoreLogger, RestoreSessionLog::Page::Search, interactiveLogger);
    fromSearch.started("ann", "START", "/home/ann/Restored", {"A/x"});
    restoreLogger.flushAll();
    EXPECT_EQ(linesOf(path()), (QStringList{"Restore Operation ", "Username: ann ", "Start Time: START ",
                                            "Restore location: /home/ann/Restored", " ", "Restore Content: ", "(",
                                            "    \"A/x\"", ")", " ", ""}));
}

class FakeRestoreDriver : public SessionDriver
{
public:
    void setuserInfo(const User &) override {}
    void setDestinationPath(const QString &path) override { destination = path; }
    QString DestinationPath() const override { return destination; }
    void shouldBackupVersions(bool) override {}
    void setMBackupMode(bool) override {}
    void setExecutorPath(const QString &) override {}
    void setBackedUpFileQueue(BackedUpFileQueue *) override {}
    void setFileFolderSetForOperation(const QStringList &) override {}
    void startBackup() override {}
    void setBackupSourceFolder(const QString &path) override { source = path; }
    QStringList &mFolderSetForRelativeRestore() override { return folders; }
    QStringList &mFileSetForRestore() override { return files; }
    void startRestore() override
    {
        ++starts;
        running = true;
    }
    bool isRunning() const override { return running; }
    void setRunningState(bool state) override { running = state; }
    void pause(bool) override {}
    void CancelBackupProcess() override { ++cancels; }
    void removeTempFilePaths() override {}
    long succesFileCount() const override { return 3; }
    long incSuccessFileCount() const override { return 1; }
    long failureFileCount() const override { return 0; }
    bool isExcludedFromBackupSet() const override { return false; }
    unsigned excludedFilesCount() const override { return 0; }

    QString source;
    QString destination;
    QStringList folders;
    QStringList files;
    int starts = 0;
    bool running = false;
    int cancels = 0;
};

class FakeRestoreView : public RestoreView
{
public:
    void setRestoreButtonEnabled(bool enabled) override { restoreEnabled = enabled; }
    void setDestinationButtonEnabled(bool) override {}
    void setDestinationControlsHidden(bool hidden) override { controlsHidden = hidden; }
    void showRestoreDestination(const QString &path) override { shownDestination = path; }
    void setProgressPaneShown(bool shown) override { paneShown = shown; }

    bool restoreEnabled = true;
    bool controlsHidden = false;
    QString shownDestination;
    bool paneShown = false;
};

class RestoreControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        TXSupportFileManager::txFileManager().setTarnixUserName("ann");
        host.account.setUserName("ann");
        QDir().mkpath(volumes() + "/Drive");
        tree = std::make_unique<RemoteTreeController>(listing, RemoteTreeController::Hooks{});
        RestoreController::Services services;
        services.makeDriver = [this](const SessionDriver::Setup &setup,
                                     RuvoBackupRestoreHandlerProtocol &) -> std::unique_ptr<SessionDriver> {
            auto made = std::make_unique<FakeRestoreDriver>();
            made->destination = setup.destinationPath;
            driver = made.get();
            return made;
        };
        controller = std::make_unique<RestoreController>(host, alerts, chooser, workspace, *tree, services);
        controller->setView(&view);
        controller->setRestoreDestinationUI();
        controller->restoreInitialise();
    }

    // The root's computer folder listed; one of its files and its folder checked.
    void checkAFile()
    {
        tree->refresh();
        ASSERT_TRUE(listing.finish("", {folderEntry("Office")}));
        tree->expandNode(*tree->nodeForPath("Office"));
        ASSERT_TRUE(listing.finish("Office", {fileEntry("a.txt"), fileEntry("b.txt"), folderEntry("docs")}));
        tree->toggleCheckboxStateforNode(*tree->nodeForPath("Office/a.txt"));
        tree->toggleCheckboxStateforNode(*tree->nodeForPath("Office/docs"));
    }

    QString preferenceFile() const { return QLLocalizedString("MonitorPreferencePath"); }
    QString writable(const QString &name) const
    {
        QDir().mkpath(root() + "/" + name);
        return root() + "/" + name;
    }

    ManualFolderListing listing;
    FakeBrowserHost host;
    ScriptedAlerts alerts;
    ScriptedFolderChooser chooser;
    RecordingWorkspace workspace;
    FakeRestoreView view;
    std::unique_ptr<RemoteTreeController> tree;
    std::unique_ptr<RestoreController> controller;
    FakeRestoreDriver *driver = nullptr;
};

TEST_F(RestoreControllerTest, RestoresTheCheckedItemsIntoTheDefaultFolderAfterOneQuestion)
{
    EXPECT_EQ(view.shownDestination, home() + "/Tarnix Rizered Downloads");
    EXPECT_TRUE(QFileInfo(home() + "/Tarnix Rizered Downloads").isDir());
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->destination, volumes() + "/Drive/TarnixVidezud/ann");

    controller->RstoreFileFromServer();
    EXPECT_EQ(alerts.texts(), QStringList{"Please select a file/folder that you wish to restore."});

    checkAFile();
    alerts.answers = {0};  // No
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 0);
    alerts.answers = {1};
    controller->RstoreFileFromServer();
    ASSERT_EQ(driver->starts, 1);
    EXPECT_TRUE(alerts.texts().last().startsWith("Selected files/ folders will be restored to '" + home()));
    EXPECT_EQ(driver->folders, QStringList{"Office/docs"});
    EXPECT_EQ(driver->files, QStringList{"/Office/a.txt"});
    EXPECT_EQ(driver->source, home() + "/Tarnix Rizered Downloads");
    EXPECT_TRUE(view.paneShown);

    // One restore at a time.
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 1);

    // Any other destination starts at once.
    controller->operationDidCancel(driver);
    EXPECT_FALSE(view.paneShown);
    ASSERT_EQ(host.reports.size(), 1);
    chooser.answers = {{writable("elsewhere"), {}}};
    controller->openPanel();
    const qsizetype asked = alerts.shown.size();
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 2);
    EXPECT_EQ(alerts.shown.size(), asked);
}

TEST_F(RestoreControllerTest, WithTheVersionPaneOpenRestoreTakesTheSelectedVersionElseTheCheckedItems)
{
    RecordingVersionPage page;
    ManualVersionSource source;
    RecordingVersionRunner runner;
    VersionBrowser versions({host, page, alerts, workspace, source, runner});
    controller->setVersionBrowser(&versions);
    versions.showVersionHistory(StoredFileIdentity{"/Office/a.txt", "f1", "61", "/Office"});
    source.listAnswers.last()({true, {versionRow("1", 13, "d1"), versionRow("2", 23, "d2")}, {}});
    const QString elsewhere = writable("elsewhere");
    controller->setRestoreDestination(elsewhere);

    // Nothing checked and no version selected: no empty restore.
    controller->RstoreFileFromServer();
    EXPECT_EQ(alerts.texts(), QStringList{"Please select a file/folder that you wish to restore."});
    EXPECT_TRUE(runner.requests.isEmpty());
    EXPECT_EQ(driver->starts, 0);

    // No version selected: the checked items, and the pane goes.
    checkAFile();
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 1);
    EXPECT_EQ(driver->files, QStringList{"/Office/a.txt"});
    EXPECT_TRUE(runner.requests.isEmpty());
    EXPECT_FALSE(page.shown);
    controller->operationDidCancel(driver);

    // A version selected in the open pane: that version, into the destination, and no session.
    page.shown = true;
    versions.versionViewController().setSelectedRows({1});
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 1);
    ASSERT_EQ(runner.requests.size(), 1);
    EXPECT_EQ(runner.requests.first().version.version(), "2");
    EXPECT_EQ(runner.requests.first().restoreDestination, "/restore/here");
    EXPECT_EQ(driver->source, elsewhere);
}

TEST_F(RestoreControllerTest, TheChooserKeepsTheDestinationOnCancelAndAsksAgainForAnUnwritableFolder)
{
    const QString before = controller->restoreDestination();
    chooser.answers = {{std::nullopt, {}}};
    controller->openPanel();
    EXPECT_EQ(controller->restoreDestination(), before);
    EXPECT_FALSE(QFileInfo::exists(RestoreDestinationStore::restorePathFile()));

    const QString locked = writable("locked");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (!QLUtility::isWritableFileAtPath(locked))
        chooser.answers = {{locked, {}}, {writable("open"), {}}};
    else  // as root every folder is writable: a missing one stands in
        chooser.answers = {{root() + "/missing", {}}, {writable("open"), {}}};
    controller->openPanel();
    EXPECT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown[0].title, "Permission denied!");
    EXPECT_EQ(chooser.starts.size(), 3);
    EXPECT_EQ(controller->restoreDestination(), root() + "/open");
    EXPECT_EQ(RestoreDestinationStore::loadDestination(), root() + "/open");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(RestoreControllerTest, CancellingThePromptAfterTickingTheBoxKeepsPromptingAndTheControlsHidden)
{
    host.preferences = {{"PromptRestoreDestinationPanel", true}};
    checkAFile();
    chooser.answers = {{std::nullopt, {true}}};
    controller->RstoreFileFromServer();
    EXPECT_EQ(chooser.prompts, 1);
    EXPECT_EQ(driver->starts, 0);
    const QVariantMap stored = PropertyList::readDictionary(preferenceFile()).value("ann").toMap();
    EXPECT_EQ(stored.value("PromptRestoreDestinationPanel"), QVariant(true));
    EXPECT_TRUE(view.controlsHidden);

    // A ticked box with a folder: the restore starts there and the preference stops the prompt.
    chooser.answers = {{writable("chosen"), {true}}};
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 1);
    EXPECT_EQ(driver->source, root() + "/chosen");
    EXPECT_EQ(
        PropertyList::readDictionary(preferenceFile()).value("ann").toMap().value("PromptRestoreDestinationPanel"),
        QVariant(false));
    EXPECT_FALSE(view.controlsHidden);
}

TEST_F(RestoreControllerTest, ASavedDestinationOnADriveThatIsNotAttachedGivesWayToTheDefault)
{
    const QString file = RestoreDestinationStore::restorePathFile();
    const struct
    {
        QString saved;
        QString shown;
    } cases[] = {
        {volumes() + "/Gone/Restored", home() + "/Tarnix Rizered Downloads"},
        {volumes() + "/Drive/Restored", volumes() + "/Drive/Restored"},
        {root() + "/new/folder", root() + "/new/folder"},
        {"", home() + "/Tarnix Rizered Downloads"},
        {"relative/path", home() + "/Tarnix Rizered Downloads"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.saved.toStdString());
        writeText(file, c.saved.toUtf8());
        EXPECT_EQ(RestoreDestinationStore::loadDestination(), c.shown);
        EXPECT_TRUE(QFileInfo(c.shown).isDir());
        EXPECT_FALSE(QFileInfo::exists(volumes() + "/Gone")) << "nothing is made where the drive was";
    }
}

TEST_F(RestoreControllerTest, ThePreferenceIsWrittenIntoTheWholeFileAndACorruptFileIsLeftAlone)
{
    QDir().mkpath(QFileInfo(preferenceFile()).absolutePath());
    ASSERT_TRUE(PropertyList::write(preferenceFile(), QVariantMap{{"bob", QVariantMap{{"x", 1}}}}));
    ASSERT_TRUE(RestoreDestinationStore::writePromptPreference(preferenceFile(), "ann", true));
    const QVariantMap all = PropertyList::readDictionary(preferenceFile());
    EXPECT_EQ(all.value("bob").toMap().value("x"), QVariant(1));
    EXPECT_EQ(all.value("ann").toMap().value("PromptRestoreDestinationPanel"), QVariant(true));

    writeText(preferenceFile(), "not a plist");
    EXPECT_FALSE(RestoreDestinationStore::writePromptPreference(preferenceFile(), "ann", false));
    EXPECT_EQ(readText(preferenceFile()), "not a plist");
}

TEST_F(RestoreControllerTest, NoDriveNoRestoreAndAVersionRestoreBlocksAndIsStoppedFirst)
{
    host.volumeName.clear();
    controller->restoreInitialise();
    EXPECT_EQ(controller->mRestoreManager(), nullptr);
    checkAFile();
    controller->RstoreFileFromServer();
    EXPECT_EQ(alerts.texts(), QStringList{RestoreController::kNoDataRootText});

    host.volumeName = "Gone";  // chosen, but not attached
    controller->restoreInitialise();
    EXPECT_EQ(controller->mRestoreManager(), nullptr);

    host.volumeName = "Drive";
    controller->restoreInitialise();
    host.versionRestoring = true;
    alerts.answers = {1};
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 0);
    controller->stopProcess(controller->progressViewController());
    EXPECT_EQ(host.versionCancels, 1);
    EXPECT_EQ(driver->cancels, 0);

    host.reIndexing = true;
    controller->RstoreFileFromServer();
    EXPECT_EQ(alerts.texts().last(), "Unable to proceed as database re-indexing is underway.");
}

TEST_F(RestoreControllerTest, ProgressAndASuccessfulEndWithItsRecordAndView)
{
    checkAFile();
    alerts.answers = {1, 1};  // proceed; "View" at the end
    controller->RstoreFileFromServer();
    controller->operationDidStart(driver);
    EXPECT_EQ(host.miniPercentage, "0 %");
    EXPECT_TRUE(host.operationActive);
    EXPECT_FALSE(view.restoreEnabled);
    controller->operationDidReceiveData({{ProgressReport::Percentage, "40"},
                                         {ProgressReport::TansferMode, "Sync"},
                                         {ProgressReport::Filename, "/a.txt"},
                                         {ProgressReport::Filesize, "10 B"},
                                         {ProgressReport::TotalFileCount, "4"},
                                         {ProgressReport::FileTransferedStatus, "Done"}},
                                        driver);
    const ProgressPaneState &pane = controller->progressViewController().state();
    EXPECT_EQ(pane.filePath, " /a.txt  (10 B)");
    EXPECT_EQ(pane.status, "Restore progress");
    EXPECT_EQ(host.miniPercentage, "40 %");

    controller->operationDidFinishSuccessfully(driver);
    EXPECT_FALSE(host.operationActive);
    EXPECT_TRUE(host.miniProgressHidden);
    EXPECT_TRUE(view.restoreEnabled);
    EXPECT_FALSE(driver->isRunning());
    ASSERT_EQ(host.reports.size(), 1);
    EXPECT_EQ(host.reports[0].totalFileCount, 4);
    EXPECT_EQ(host.reports[0].syncFileCount, 1);
    EXPECT_TRUE(host.reports[0].sessionLogFilePath.contains("/Restore/"));
    EXPECT_TRUE(QFileInfo::exists(host.reports[0].sessionLogFilePath + ".summary"));
    EXPECT_EQ(workspace.opened, QStringList{controller->restoreDestination()});
}

// The search results restore through the same driver and destination, with the
// search page's log wording; one restore runs at a time on both pages.
TEST_F(RestoreControllerTest, SearchResultsRestoreThroughTheOneDriverOnceAtATime)
{
    FakeRestoreView searchView;
    controller->setSearchView(&searchView, nullptr);
    SearchResults results;
    SearchRestore restore(results, *controller);
    results.append({searchRow("/Office/a/x.txt"), searchRow("/Office/b/y.txt"), searchRow("/Office/a/z.txt")});

    restore.DownloadButton();
    EXPECT_EQ(alerts.texts(), QStringList{"Please select a file that you wish to restore."});
    results.toggleCheckBoxState(0);
    results.toggleCheckBoxState(1);
    results.toggleCheckBoxState(2);
    host.reIndexing = true;
    restore.DownloadButton();
    EXPECT_EQ(alerts.texts().last(), RestoreController::kReIndexText);
    host.reIndexing = false;

    alerts.answers = {1};  // proceed into the default folder
    restore.DownloadButton();
    ASSERT_EQ(driver->starts, 1);
    EXPECT_EQ(driver->files, (QStringList{"/Office/a/x.txt", "/Office/b/y.txt", "/Office/a/z.txt"}));
    EXPECT_FALSE(view.restoreEnabled) << "the Restore page waits too";
    EXPECT_FALSE(searchView.restoreEnabled);
    EXPECT_FALSE(view.paneShown) << "the pane of the page that started it";
    EXPECT_FALSE(host.miniProgressHidden);
    const QByteArray header = readText(controller->mRestoreSessionFilePath());
    EXPECT_TRUE(header.contains("Restore location: " + home().toUtf8() + "/Tarnix Rizered Downloads\n"))
        << header.constData();

    // Neither page starts another: the search says why, the Restore page waits quietly.
    const qsizetype shown = alerts.shown.size();
    restore.DownloadFileMenu(0);
    ASSERT_EQ(alerts.shown.size(), shown + 1);
    EXPECT_EQ(alerts.shown.last().title, "Restore in progress");
    EXPECT_EQ(alerts.texts().last(), RestoreController::kRestoreRunningText);
    checkAFile();
    controller->RstoreFileFromServer();
    EXPECT_EQ(driver->starts, 1);
    EXPECT_EQ(alerts.shown.size(), shown + 1);

    // A cancel gives both pages their controls back.
    controller->operationDidCancel(driver);
    EXPECT_TRUE(view.restoreEnabled);
    EXPECT_TRUE(searchView.restoreEnabled);
    EXPECT_TRUE(readText(controller->mRestoreSessionFilePath()).contains("End Time: "));

    // A running version restore blocks the search's restore as well.
    host.versionRestoring = true;
    restore.DownloadFileMenu(2);
    EXPECT_EQ(driver->starts, 1);
    EXPECT_EQ(alerts.shown.last().title, "Restore in progress");
    host.versionRestoring = false;
    alerts.answers = {1};
    restore.DownloadFileMenu(2);
    ASSERT_EQ(driver->starts, 2);
    EXPECT_EQ(driver->files, QStringList{"/Office/a/z.txt"});
}

TEST(RestoredXattrsTest, DatabasesInTheRestoredItemsAreResetDownToTheDepthLimit)
{
    QTemporaryDir dir;
    const QString top = dir.path();
    for (const char *folder : {"TM/Backups.backupdb/x", "Docs/a/Backups.backupdb", "Deep/1/2/3/4/5/Backups.backupdb",
                               "Docs/.hidden/Backups.backupdb"})
        QDir().mkpath(top + "/restored/" + QString(folder));
    QStringList resets;
    RestoredXattrs::searchXattributesIn(
        {{top + "/restored/TM/Backups.backupdb", "/drive/TM/Backups.backupdb"},
         {top + "/restored/Docs", "/drive/Docs"},
         {top + "/restored/Deep", "/drive/Deep"}},
        [&](const QString &restored, const QString &stored) { resets << restored.mid(top.size()) + " <- " + stored; });
    EXPECT_EQ(resets, (QStringList{"/restored/TM/Backups.backupdb <- /drive/TM/Backups.backupdb",
                                   "/restored/Docs/a/Backups.backupdb <- /drive/Docs/a/Backups.backupdb"}));
}

}  // namespace
