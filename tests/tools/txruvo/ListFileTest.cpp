#include "txruvo/ListFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

namespace {

std::optional<ListFile> readList(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("list"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return std::nullopt;
    file.close();
    QString error;
    return ListFile::read(path, &error);
}

// Lines are views into the list's own bytes, decoded when asked: they must
// stay whole when the list is handed on, skip empty lines, and keep a line
// that is not UTF-8 (marked) without letting it swallow its neighbours.
TEST(ListFileTest, LinesSurviveTheListBeingMovedAndBadOnesAreMarked)
{
    QTemporaryDir dir;
    std::optional<ListFile> read = readList(dir, "/a/b.txt\n\n/caf\xc3\xa9\n/bad\xff\xfe\n/last");
    ASSERT_TRUE(read);
    const ListFile list = std::move(*read);
    read.reset();

    const QStringList expected = {"/a/b.txt", QString::fromUtf8("/caf\xc3\xa9"), QString::fromUtf8("/bad\xff\xfe"),
                                  "/last"};
    ASSERT_EQ(list.entries().size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.entries().at(i).text(), expected.at(i)) << i;
        EXPECT_EQ(list.entries().at(i).isValidUtf8(), i != 2) << i;
    }
}

TEST(ListFileTest, EmptyAndMissingLists)
{
    QTemporaryDir dir;
    const std::optional<ListFile> empty = readList(dir, "\n\n");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->entries().isEmpty());

    QString error;
    EXPECT_FALSE(ListFile::read(dir.filePath(QStringLiteral("none")), &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
