#include "session/filtering/ExclusionFilter.h"

#include "support/SandboxFixture.h"

#include <QDir>

#include <gtest/gtest.h>

// The exclusion rules over one batch, case by case.

namespace {

const QString kVolumes = "/media/u";

struct FilterCase
{
    const char *name;
    ExclusionFilter::Settings settings;
    QStringList input;
    QStringList accepted;
};

QVariantMap on(std::initializer_list<QString> entries)
{
    QVariantMap map;
    for (const QString &entry : entries)
        map.insert(entry, true);
    return map;
}

class ExclusionFilterTable : public ::testing::TestWithParam<FilterCase>
{};

TEST_P(ExclusionFilterTable, AcceptsWhatTheRulesLeave)
{
    const FilterCase &c = GetParam();
    const ExclusionFilter::Result result = ExclusionFilter(c.settings, kVolumes).getBackupSetAfterFiltration(c.input);
    EXPECT_EQ(result.accepted, c.accepted);
    QStringList rest = c.input;
    for (const QString &path : c.accepted)
        rest.removeOne(path);
    QStringList unfit;
    for (const QString &path : std::as_const(rest))
        if (ExclusionFilter::hasLineBreak(path))
            unfit << path;
    for (const QString &path : std::as_const(unfit))
        rest.removeOne(path);
    EXPECT_EQ(result.unfit, unfit) << "a name that cannot travel in a list is never taken for an exclusion";
    EXPECT_EQ(result.skipped, rest) << "every input path is accepted or listed as skipped or unfit once";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ExclusionFilterTable,
    ::testing::Values(
        FilterCase{"NoSettingsAcceptsHiddenItems", {}, {"/h/a", "/h/.hidden/b"}, {"/h/a", "/h/.hidden/b"}},
        FilterCase{"LineBreaksNeverReachABlock", {}, {"/h/a\rb", "/h/a\nb", "/h/c"}, {"/h/c"}},
        FilterCase{"DuplicateAcceptedOnce", {}, {"/h/a", "/h/a"}, {"/h/a"}},
        FilterCase{"UserRootStarExcludesDrivesToo", {{}, on({"*"}), {}, false}, {"/h/a", kVolumes + "/D/x"}, {}},
        FilterCase{"PartialRootStarExcludesAll", {{}, {}, on({"*.*"}), false}, {"/h/a", kVolumes + "/D/x"}, {}},
        FilterCase{"DefaultRootStarSparesDrives",
                   {on({"/"}), {}, {}, false},
                   {"/h/a", kVolumes + "/D/x"},
                   {kVolumes + "/D/x"}},
        FilterCase{"DefaultFolderTakesWholeComponentsOnly",
                   {on({"/home/a"}), {}, {}, false},
                   {"/home/a", "/home/a/x", "/home/ab/y"},
                   {"/home/ab/y"}},
        FilterCase{"DefaultPrefixNeverReachesUnderDrives",
                   {on({kVolumes}), {}, {}, false},
                   {kVolumes, kVolumes + "/", kVolumes + "/D/x"},
                   {kVolumes + "/D/x"}},
        FilterCase{"UnselectedDefaultExcludesNothing",
                   {QVariantMap{{"/home/a", false}}, {}, {}, false},
                   {"/home/a/x"},
                   {"/home/a/x"}},
        FilterCase{"PartialNameIgnoresCase",
                   {{}, {}, on({"tmp"}), false},
                   {"/h/TMP.txt", "/h/x/aTmpb/c", "/h/keep"},
                   {"/h/keep"}},
        FilterCase{"QuestionMarkActsAsStar", {{}, {}, on({"a?c"}), false}, {"/h/a--c", "/h/b"}, {"/h/b"}},
        FilterCase{"UnselectedPartialIgnored", {{}, {}, QVariantMap{{"tmp", false}}, false}, {"/h/tmp"}, {"/h/tmp"}},
        FilterCase{"HiddenItemsWhenAsked", {{}, on({"/nothing"}), {}, true}, {"/h/.cfg", "/h/.d/a", "/h/v"}, {"/h/v"}}),
    [](const auto &info) { return std::string(info.param.name); });

// A user entry stands for a file alone or for everything inside a folder;
// which one is told by the disk, so this case needs real items.
class UserExclusionTest : public SandboxFixture
{};

TEST_F(UserExclusionTest, FileEntryTakesTheFileFolderEntryItsContents)
{
    const QString folder = root() + "/docs";
    writeText(folder + "/keep.txt", "k");
    writeText(root() + "/notes.txt", "n");
    ExclusionFilter::Settings settings;
    settings.user = on({folder, root() + "/notes.txt"});
    const ExclusionFilter filter(settings, kVolumes);
    EXPECT_TRUE(filter.shouldExcludeUserFile(folder + "/keep.txt"));
    EXPECT_TRUE(filter.shouldExcludeUserFile(folder + "/deep/er.txt"));
    EXPECT_TRUE(filter.shouldExcludeUserFile(root() + "/notes.txt"));
    EXPECT_FALSE(filter.shouldExcludeUserFile(root() + "/notes.txt.bak"));
    EXPECT_FALSE(filter.shouldExcludeUserFile(root() + "/docsX/a"));
}

}  // namespace

namespace {

// The monitor's default list names /home, /tmp and /var, system places of the
// Mac; on Linux the user's home lies below them and is never taken with them.
TEST(DefaultExclusionTest, TheHomeFolderAndItsContentsOutliveTheSystemPlaces)
{
    ExclusionFilter::Settings settings;
    settings.defaults = on({"/home", "/var", "/tmp"});
    const ExclusionFilter filter(settings, kVolumes, "/home/me");
    const QStringList input{"/home/me/notes.txt", "/home/me/deep/a.txt", "/home/other/x.txt",
                            "/home/meow/y",       "/var/log/syslog",     "/tmp/t"};
    EXPECT_EQ(filter.getBackupSetAfterFiltration(input).accepted,
              (QStringList{"/home/me/notes.txt", "/home/me/deep/a.txt"}));
    EXPECT_TRUE(ExclusionFilter(settings, kVolumes).shouldExcludeDefaultFile("/home/me/notes.txt"))
        << "without a home folder the places keep their whole contents";
}

}  // namespace
