#include "session/sizes/TXSizeCalculator.h"

#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <unistd.h>

// The size of a selected item against what `du` reports for it, with names a
// shell would have read as commands.

namespace {

class SizeCalculatorTest : public SandboxFixture
{
protected:
    // du's figure for the path, in bytes; empty when du is not installed.
    static QString duFigure(const QString &path)
    {
        const QString du = QStandardPaths::findExecutable("du");
        if (du.isEmpty())
            return {};
        QProcess run;
        run.start(du, {"-b", "--apparent-size", "-s", "--", path});
        run.waitForFinished(60000);
        return QString::fromUtf8(run.readAllStandardOutput()).section(u'\t', 0, 0);
    }

    // A small tree: files of several sizes, an empty folder, a link, a hard link.
    void makeTree(const QString &top)
    {
        writeText(top + "/a.txt", QByteArray(1000, 'a'));
        writeText(top + "/sub/b.bin", QByteArray(12345, 'b'));
        writeText(top + "/sub/deeper/c", "c");
        writeText(top + "/.hidden", QByteArray(77, 'h'));
        QDir().mkpath(top + "/empty");
        ASSERT_EQ(::symlink("sub/b.bin", QFile::encodeName(top + "/link-to-b").constData()), 0);
        ASSERT_EQ(
            ::link(QFile::encodeName(top + "/a.txt").constData(), QFile::encodeName(top + "/sub/hard-a").constData()),
            0);
    }

    QString output() const { return root() + "/duoutput.du"; }
};

TEST_F(SizeCalculatorTest, FigureEqualsDuForTreesWithShellCharactersInTheirNames)
{
    const QStringList names = {
        "plain",         "with \"quote\"", "dollar $(touch pwned) $HOME", "back`touch pwned`quote",
        "back\\slash\\", "it's; rm -rf x"};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString top = root() + "/set/" + name;
        makeTree(top);
        const QString expected = duFigure(top);
        if (expected.isEmpty())
            GTEST_SKIP() << "du is not installed: nothing to compare the figure with";
        EXPECT_EQ(TXSizeCalculator().sizeforpathdu(top, output()), expected);
        EXPECT_EQ(readText(output()), expected.toUtf8() + "\n");
        // A single file and a link are sized as du sizes them too.
        EXPECT_EQ(TXSizeCalculator().sizeforpathdu(top + "/sub/b.bin", output()), "12345");
        EXPECT_EQ(TXSizeCalculator().sizeforpathdu(top + "/link-to-b", output()), duFigure(top + "/link-to-b"));
    }
    EXPECT_FALSE(QFile::exists(root() + "/set/pwned"));
    EXPECT_FALSE(QFile::exists("pwned"));
    EXPECT_EQ(QFile(output()).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup), 0);
}

TEST_F(SizeCalculatorTest, NothingToMeasureGivesMinusOneAndRemovesTheOutputFile)
{
    for (const QString &path : {root() + "/missing", root() + "/missing/below", QString()}) {
        writeText(output(), "4096\n");
        EXPECT_EQ(TXSizeCalculator().sizeforpathdu(path, output()), "-1") << path.toStdString();
        EXPECT_FALSE(QFile::exists(output()));
    }
}

}  // namespace
