#include "IndexFixture.h"

#include <QFile>

// A main index whose pages after the first are damaged: the schema still reads,
// so opening succeeds, but every statement that reaches the rows fails midway.
class DamagedIndexTest : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        QStringList paths;
        for (int number = 0; number < 200; ++number)
            paths.append(QStringLiteral("/docs/folder%1/file%1.txt").arg(number));
        addFiles(paths);
        damagePagesAfterTheFirst();
        wrapper.setDelegate(&delegate);
        ASSERT_TRUE(wrapper.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
    }

    void damagePagesAfterTheFirst() const
    {
        QFile file(mainIndexPath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        constexpr qint64 kPageSize = 4096;
        for (qint64 page = 2; page * kPageSize <= file.size(); ++page) {
            file.seek((page - 1) * kPageSize + 100);
            file.write(QByteArray(64, '\x5a'));
        }
    }

    TXDatabaseWrapper wrapper{kShortTimings};
    RecordingDelegate delegate;
};

TEST_F(DamagedIndexTest, ReportingQueriesFailWithTheLibrarysReasonInsteadOfAPartialAnswer)
{
    wrapper.fetchChildrenForPath("docs");
    wrapper.searchForKeyInsidePath({{"SearchKey", "file"}, {"PathRootForSearch", ""}});
    wrapper.searchEncryptedNameInsidePath("/docs");
    EXPECT_FALSE(delegate.reported());
    ASSERT_EQ(delegate.errors.size(), 3);
    for (const QString &error : delegate.errors)
        EXPECT_FALSE(error.isEmpty() || error == "not an error") << error.toStdString();
}

TEST_F(DamagedIndexTest, ReturningQueriesAnswerNothingRatherThanAbsent)
{
    EXPECT_FALSE(wrapper.getAllFilesInside("/docs").has_value());
    EXPECT_FALSE(wrapper.doesFileExistOnPortable("/docs/folder150/file150.txt").has_value());
}
