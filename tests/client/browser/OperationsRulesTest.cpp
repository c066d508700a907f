#include "client/browser/operations/DeleteRules.h"
#include "client/browser/operations/FolderSizeRules.h"
#include "client/browser/operations/RemoteMenuRules.h"
#include "client/browser/operations/RenameRules.h"
#include "client/browser/tree/RemoteTreeRules.h"
#include "common/webservice/WebPageToken.h"
#include "support/SandboxFixture.h"

#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

using RemoteMenuRules::Action;

TEST(RemoteMenuRulesTest, EntriesAreEnabledForTheClickedRow)
{
    const auto row = [](bool folder, const QString &version, bool ruvo, bool busy) {
        return RemoteMenuRules::Context{true, folder, version, ruvo, busy};
    };
    const RemoteMenuRules::Context none{false, false, {}, true, false};
    const RemoteMenuRules::Context noneBusy{false, false, {}, true, true};
    const struct
    {
        const char *name;
        RemoteMenuRules::Context context;
        QList<Action> enabled;
    } cases[] = {
        {"folder of a storage account",
         row(true, "", true, false),
         {Action::Refresh, Action::FolderSize, Action::Rename, Action::Delete, Action::Share, Action::SearchInFolder,
          Action::ReIndex}},
        {"file with two versions",
         row(false, "2", true, false),
         {Action::Versions, Action::Rename, Action::Delete, Action::Share, Action::ReIndex}},
        {"file with one version",
         row(false, "1", true, false),
         {Action::Rename, Action::Delete, Action::Share, Action::ReIndex}},
        {"file of an older account", row(false, "3", false, false), {Action::Share, Action::ReIndex}},
        {"folder while an operation runs",
         row(true, "", false, true),
         {Action::Refresh, Action::FolderSize, Action::Share, Action::SearchInFolder}},
        {"no row", none, {Action::Refresh, Action::ReIndex}},
        {"no row while an operation runs", noneBusy, {Action::Refresh}},
    };
    const QList<Action> all = {Action::Refresh, Action::FolderSize, Action::Versions,       Action::Rename,
                               Action::Delete,  Action::Share,      Action::SearchInFolder, Action::ReIndex};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QList<Action> enabled;
        for (Action action : all)
            if (RemoteMenuRules::isEnabled(action, c.context))
                enabled << action;
        EXPECT_EQ(enabled, c.enabled);
    }
}

TEST(RenameRulesTest, EditedNamesAreCheckedBeforeAnythingStarts)
{
    using RenameRules::NameCheck;
    const QStringList siblings = {"docs2", "Notes.txt"};
    const struct
    {
        QString name;
        NameCheck check;
        QString message;
    } cases[] = {
        {"", NameCheck::Unchanged, ""},
        {"docs", NameCheck::Unchanged, ""},
        {"papers", NameCheck::Rename, ""},
        {" papers ", NameCheck::Rename, ""},
        {"Docs", NameCheck::Rename, ""},
        {"a/b", NameCheck::Refused, RenameRules::kRefusedNameText},
        {"/", NameCheck::Refused, RenameRules::kRefusedNameText},
        {".", NameCheck::Refused, RenameRules::kRefusedNameText},
        {"..", NameCheck::Refused, RenameRules::kRefusedNameText},
        {QString("a") + QChar(0) + "b", NameCheck::Refused, RenameRules::kRefusedNameText},
        {"docs2", NameCheck::Refused, RenameRules::kTakenNameText.arg("docs2")},
        {"notes.TXT", NameCheck::Refused, RenameRules::kTakenNameText.arg("Notes.txt")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(RenameRules::checkNewName(c.name, "docs", siblings), c.check);
        EXPECT_EQ(RenameRules::refusalText(c.name, siblings), c.message);
    }
    EXPECT_EQ(RenameRules::renamedPath("/Office/docs", "papers"), "/Office/papers");
    EXPECT_EQ(RenameRules::renamedPath("/docs", "papers"), "/papers");
}

TEST(RenameRulesTest, KeysAreReKeyedByTheirLeadingFolderOnly)
{
    const struct
    {
        QString key, expected;
    } cases[] = {
        {"a", "b"}, {"a/x", "b/x"}, {"a/x/y", "b/x/y"}, {"a/x/a/y", "b/x/a/y"}, {"ab/x", "ab/x"}, {"x/a/y", "x/a/y"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RemoteTreeRules::rekeyedPath(c.key, "a", "b"), c.expected) << c.key.toStdString();
}

TEST(RenameRulesTest, OnlyTheRenamedFolderAndWhatIsBelowItStayClosed)
{
    const QSet<QString> renaming = {"/Office/docs"};
    const struct
    {
        QString path;
        bool mayExpand;
    } cases[] = {
        {"Office/docs", false}, {"Office/docs/sub", false}, {"Office/docs2", true},
        {"Office", true},       {"Office/doc", true},       {"Other/Office/docs", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RenameRules::mayExpand(c.path, renaming), c.mayExpand) << c.path.toStdString();
}

TEST(DeleteRulesTest, TheControllerGetsTheFoldersAndTheFilesGroupedByFolder)
{
    const DeleteRules::DeleteRun run =
        DeleteRules::runOf({{"O/F/b.txt", false}, {"O/F", true}, {"O/G/x", false}, {"O/F/a.txt", false}});
    EXPECT_EQ(run.folderSet(), QStringList{"O/F"});
    EXPECT_EQ(run.fileSet(),
              (QList<QVariantMap>{{{"O/F", QStringList{"b.txt", "a.txt"}}}, {{"O/G", QStringList{"x"}}}}));
    EXPECT_EQ(run.selection.contents.size(), 4);
}

TEST(DeleteRulesTest, ReportedPathsBecomeTreePathsInsideTheRunOnly)
{
    const DeleteRules::DeleteRun run = DeleteRules::runOf({{"Office/home/F", true}, {"Office/home/x.txt", false}});
    const struct
    {
        QString reported, computerFolder, treePath;
    } cases[] = {
        {"/Office/home/F/a", "/Office", "Office/home/F/a"},  // as the index names it
        {"/home/F/a", "/Office", "Office/home/F/a"},         // as the engine names it
        {"/home/x.txt", "/Office", "Office/home/x.txt"},
        {"/home/y.txt", "/Office", ""},  // never part of the run
        {"/home/F/a", "", ""},
        {"/Office/home/F2/a", "/Office", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DeleteRules::treePathOfReported(c.reported, c.computerFolder, run), c.treePath)
            << c.reported.toStdString();
}

TEST(DeleteRulesTest, OnlyWhatWasReportedGoneLeavesTheTreeAndTheIndex)
{
    const DeleteRules::DeleteRun run = DeleteRules::runOf({{"O/F", true}, {"O/G/x", false}, {"O/G/y", false}});
    using Outcome = DeleteRules::Outcome;
    const struct
    {
        const char *name;
        QStringList deleted, failed;
        bool runFailed;
        Outcome outcome;
    } cases[] = {
        {"all gone",
         {"O/F/a", "O/F/b", "O/G/x", "O/G/y"},
         {},
         false,
         {{"O/F", "O/G/x", "O/G/y"}, {"/O/F/", "/O/G/x", "/O/G/y"}}},
        {"one file failed", {"O/F/a", "O/F/b", "O/G/x"}, {"O/G/y"}, false, {{"O/F", "O/G/x"}, {"/O/F/", "/O/G/x"}}},
        {"a file in the folder failed",
         {"O/F/a", "O/G/x", "O/G/y"},
         {"O/F/b"},
         false,
         {{"O/F/a", "O/G/x", "O/G/y"}, {"/O/F/a", "/O/G/x", "/O/G/y"}}},
        {"a set failed", {"O/F/a", "O/G/x"}, {}, true, {{"O/F/a", "O/G/x"}, {"/O/F/a", "/O/G/x"}}},
        {"nothing reported, the run failed", {}, {}, true, {}},
        {"a path outside the run", {"O/H/z"}, {}, true, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DeleteRules::outcome(run, c.deleted, c.failed, c.runFailed), c.outcome);
    }
}

class FolderSizeRulesTest : public SandboxFixture
{};

TEST_F(FolderSizeRulesTest, ResultsBecomeTheirMessages)
{
    const struct
    {
        QVariantMap result;
        QString message;
    } cases[] = {
        {{{"fileSize", "1536.0"}, {"FileCount", "3"}}, "Size of folder 'docs'  is 1.5 KB\nContains: 3 files"},
        {{{"fileSize", "0.0"}, {"FileCount", "1234567"}}, "Size of folder 'docs'  is 0 B\nContains: 1,234,567 files"},
        {{{"fileSize", "-2"}, {"FileCount", "0"}}, FolderSizeRules::kMaintenanceText},
        {{{"fileSize", "-1"}}, FolderSizeRules::kUnavailableText},
        {{{"fileSize", "2"}}, "Size of folder 'docs'  is 2 KB."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FolderSizeRules::message("Office/home/docs", c.result), c.message);
}

TEST(ShareRequestTest, TheBodyNamesEveryItemEscapedAndEndsWithoutASeparator)
{
    const QByteArray body = WebPageToken::shareBody(
        "ann", "p&w d", {{"Office/a b.txt", false}, {"Office/x&y.txt", false}, {"Office/docs", true}});
    EXPECT_EQ(body, "uid=ann&pwd=p%26w%20d&op_type=share&filePaths=/Office%2Fa%20b.txt&filePaths=/"
                    "Office%2Fx%26y.txt&folderPaths=/Office%2Fdocs");
    EXPECT_FALSE(body.endsWith('&'));
}

TEST(ShareRequestTest, OnlyASuccessWithATokenOpensAPageAndTheTokenIsEscaped)
{
    const struct
    {
        QByteArray reply;
        QString token;  // "" opens nothing
    } cases[] = {
        {"SUCCESS:tok\r\n", "tok"}, {"SUCCESS", ""},
        {"SUCCESS:", ""},           {"ERROR:x", ""},
        {"FAILURE:tok", ""},        {"SUCCESS:a&b=c+d#e f\n", "a&b=c+d#e f"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.reply.toStdString());
        const std::optional<QUrl> page = WebPageToken::pageForReply(c.reply);
        ASSERT_EQ(page.has_value(), !c.token.isEmpty());
        if (!page)
            continue;
        EXPECT_EQ(page->path(), "/tarnix/desktop/Auto");
        const QUrlQuery query(*page);
        EXPECT_EQ(query.allQueryItemValues("token", QUrl::FullyDecoded), QStringList{c.token});
        EXPECT_EQ(query.queryItems().size(), 1);
    }
}

}  // namespace
