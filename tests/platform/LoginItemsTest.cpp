#include "platform/LoginItems.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

// Found by argument-dependent lookup, so beside the item type's own namespace.
static bool operator==(const LoginItems::Item &a, const LoginItems::Item &b)
{
    return a.name == b.name && a.programPath == b.programPath;
}

static void PrintTo(const LoginItems::Item &item, std::ostream *out)
{
    *out << item.name.toStdString() << " -> " << item.programPath.toStdString();
}

namespace {

class LoginItemsTest : public SandboxFixture
{
protected:
    QString autostart() const { return home() + "/.config/autostart"; }
};

TEST_F(LoginItemsTest, AddedEntriesAreListedWithTheirProgramsEvenWithAwkwardCharacters)
{
    LoginItems items;
    EXPECT_EQ(items.folder(), autostart());
    const QString plain = "/opt/tarnix/bin/TarnixVidezudMonitor";
    const QString awkward = R"(/opt/My "Apps"/50% off/$HOME/back\slash `x`)";
    ASSERT_TRUE(items.add("TarnixVidezudMonitor", plain));
    ASSERT_TRUE(items.add("TarnixVidezud", awkward));

    const QList<LoginItems::Item> expected = {{"TarnixVidezud", awkward}, {"TarnixVidezudMonitor", plain}};
    EXPECT_EQ(items.list(), expected);
    const QByteArray entry = readText(autostart() + "/TarnixVidezudMonitor.desktop");
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n")) << entry.toStdString();
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/tarnix/bin/TarnixVidezudMonitor\"\n")) << entry.toStdString();

    ASSERT_TRUE(items.add("TarnixVidezud", plain));  // replaces, does not add a second entry
    EXPECT_EQ(items.list().size(), 2);
}

TEST_F(LoginItemsTest, RemoveDeletesOnlyTheNamedEntry)
{
    LoginItems items;
    ASSERT_TRUE(items.add("TarnixVidezud", "/opt/a"));
    ASSERT_TRUE(items.add("TarnixVidezudMonitor", "/opt/b"));

    EXPECT_TRUE(items.remove("TarnixVidezud"));
    EXPECT_FALSE(items.remove("TarnixVidezud"));
    EXPECT_FALSE(items.remove("../autostart/TarnixVidezudMonitor"));
    const QList<LoginItems::Item> expected = {{"TarnixVidezudMonitor", "/opt/b"}};
    EXPECT_EQ(items.list(), expected);
}

TEST_F(LoginItemsTest, UnsafeNamesAndRelativeProgramsAreRefused)
{
    LoginItems items;
    const struct
    {
        QString name;
        QString program;
    } refused[] = {
        {"", "/opt/a"},           {".hidden", "/opt/a"},   {"a/b", "/opt/a"},
        {"a\nExec=/x", "/opt/a"}, {"ok", "relative/path"}, {"ok", "/opt/a\nHidden=true"},
    };
    for (const auto &r : refused)
        EXPECT_FALSE(items.add(r.name, r.program)) << r.name.toStdString() << " " << r.program.toStdString();
    EXPECT_TRUE(QDir(autostart()).entryList(QDir::Files).isEmpty());
}

TEST_F(LoginItemsTest, EntriesWrittenByOthersAreReadAndDeletedOnesSkipped)
{
    writeText(
        autostart() + "/other.desktop",
        "# by hand\n[Desktop Entry]\nName=Other\nExec=/usr/bin/other --start %U\n[Desktop Action x]\nExec=/nope\n");
    writeText(autostart() + "/disabled.desktop", "[Desktop Entry]\nExec=/usr/bin/disabled\nHidden=true\n");
    writeText(autostart() + "/empty.desktop", "[Desktop Entry]\nName=Nothing\n");
    writeText(autostart() + "/notes.txt", "[Desktop Entry]\nExec=/usr/bin/notes\n");

    const QList<LoginItems::Item> expected = {{"other", "/usr/bin/other"}};
    EXPECT_EQ(LoginItems().list(), expected);
    // An entry the desktop treats as deleted is not listed, but it is there: a program that
    // adds its entry once leaves the user's switched-off one alone.
    EXPECT_TRUE(LoginItems().exists("disabled"));
    EXPECT_FALSE(LoginItems().exists("absent"));
    EXPECT_FALSE(LoginItems().exists("../autostart/other"));
}

TEST_F(LoginItemsTest, AMissingFolderListsNothingAndIsMadeOnAdd)
{
    LoginItems items(root() + "/not/yet");
    EXPECT_TRUE(items.list().isEmpty());
    EXPECT_TRUE(items.add("TarnixVidezud", "/opt/a"));
    EXPECT_TRUE(QFile::exists(root() + "/not/yet/TarnixVidezud.desktop"));
}

}  // namespace
