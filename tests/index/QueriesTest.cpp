#include "IndexFixture.h"

#include <QRegularExpression>

class QueriesTest : public IndexFixture
{
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        addFiles({"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt", "/Office/Users/ann2/c.txt", "/x/Report.doc",
                  "/y/reports/z.txt", "/top.txt", "/odd/a_c.txt", "/odd/abc.txt", "/odd/100%.txt",
                  "/odd/it's \"quoted\".txt", "/odd/br]acket.txt", "/odd/Ünïcödé.txt", "/x_y/f.txt", "/xzy/g.txt",
                  "/quo\"te/h.txt"});
        // Rows marked absent, as another writer may leave them.
        FMDatabase db(mainIndexPath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(
            db.executeUpdate("INSERT INTO qlfile (DIRID, NAME, FILE_LMD, FILE_SIZE) SELECT DIRID, '''ghost.txt''', "
                             "'0000/00/00 00:00:00', 5000 FROM qlfolder WHERE NAME = '''/Office/Users/ann/'''"));
        ASSERT_TRUE(db.executeUpdate("INSERT INTO qlfolder (NAME, FILE_LMD, FILE_SIZE) VALUES "
                                     "('''/Office/Users/ann/ghostdir/''', '0000/00/00 00:00:00', 1024)"));
        wrapper.setDelegate(&delegate);
        ASSERT_TRUE(wrapper.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
    }

    static QStringList sorted(QStringList values)
    {
        values.sort();
        return values;
    }

    TXDatabaseWrapper wrapper{kShortTimings};
    RecordingDelegate delegate;
};

TEST_F(QueriesTest, ListingShowsOneLevelFoldersFirstThenFiles)
{
    wrapper.fetchChildrenForPath("");
    QStringList rootNames;
    for (const IndexEntry &entry : delegate.entries())
        rootNames.append((entry.isFolder() ? "D " : "F ") + entry.fileName);
    EXPECT_EQ(sorted(rootNames.mid(0, 7)),
              QStringList({"D /Office/", "D /odd/", "D /quo\"te/", "D /x/", "D /x_y/", "D /xzy/", "D /y/"}));
    EXPECT_EQ(rootNames.mid(7), QStringList{"F top.txt"});

    delegate.clear();
    wrapper.fetchChildrenForPath("Office/Users/ann");
    ASSERT_EQ(delegate.entries().size(), 2);
    IndexEntry folder;
    folder.fileName = "/Office/Users/ann/sub/";
    folder.fileType = IndexEntry::Type::Folder;
    EXPECT_EQ(delegate.entries().at(0), folder);
    EXPECT_EQ(delegate.entries().at(1), fileEntry("a.txt", "2014-05-06 10:11:12 +0000", 100, 1, {}, {}, {}));
    EXPECT_TRUE(delegate.errors.isEmpty());
}

TEST_F(QueriesTest, ListingOfAFolderWithWildcardsOrQuotesInItsNameShowsOnlyThatFolder)
{
    for (const auto &[folder, expected] :
         std::initializer_list<std::pair<QString, QString>>{{"x_y", "f.txt"}, {"xzy", "g.txt"}, {"quo\"te", "h.txt"}}) {
        delegate.clear();
        wrapper.fetchChildrenForPath(folder);
        EXPECT_EQ(delegate.names(), QStringList{expected}) << folder.toStdString();
    }
}

TEST_F(QueriesTest, ListingFindsEverySiblingWhateverCharactersFollowItsName)
{
    // Names that sort before, inside and after a sibling's own range; "x" and
    // "X" are one folder, named as first merged.
    addFiles({"/sib/X/sub/a.txt", "/sib/X!/b.txt", "/sib/X-y/c.txt", "/sib/X0/d.txt", "/sib/ !/e.txt", "/sib/x/f.txt"});
    wrapper.fetchChildrenForPath("sib");
    EXPECT_EQ(sorted(delegate.names()), QStringList({"/sib/ !/", "/sib/X!/", "/sib/X-y/", "/sib/X0/", "/sib/x/"}));
}

TEST_F(QueriesTest, SearchMatchesNamesAndFolderPathsBelowTheRootWithPercentAsTheOnlyWildcard)
{
    struct Case
    {
        QString key;
        QString root;
        QStringList found;
    };
    const QList<Case> cases = {
        {"report", "", {"/x/Report.doc", "/y/reports/z.txt"}},
        {"_", "", {"/odd/a_c.txt", "/x_y/f.txt"}},
        {"100%", "", {"/odd/100%.txt"}},
        {"a%c", "", {"/odd/a_c.txt", "/odd/abc.txt", "/odd/br]acket.txt"}},
        {"'s \"q", "", {"/odd/it's \"quoted\".txt"}},
        {"t'", "", {"/odd/it's \"quoted\".txt"}},
        {"]", "", {"/odd/br]acket.txt"}},
        {"Ünï", "", {"/odd/Ünïcödé.txt"}},
        {"b", "/Office/Users/ann", {"/Office/Users/ann/sub/b.txt"}},
        {"ann",
         "/Office/Users",
         {"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt", "/Office/Users/ann2/c.txt"}},
        {"ghost", "", {}},
    };
    for (const Case &c : cases) {
        delegate.clear();
        wrapper.searchForKeyInsidePath({{"SearchKey", c.key}, {"PathRootForSearch", c.root}});
        EXPECT_EQ(sorted(delegate.names()), c.found) << c.key.toStdString();
    }
    delegate.clear();
    wrapper.searchForKeyInsidePath({{"SearchKey", "top"}, {"PathRootForSearch", ""}});
    EXPECT_EQ(delegate.entries().value(0),
              fileEntry("/top.txt", "2014-05-06 10:11:12 +0000", 100, 1, "fid", "enc", "/Office"));
}

TEST_F(QueriesTest, ServerIdentityLookupsFindExactlyTheNamedFiles)
{
    const auto count = [this](const std::function<void()> &query) {
        delegate.clear();
        query();
        return delegate.entries().size();
    };
    EXPECT_EQ(count([&] { wrapper.searchEncryptedNameForPath("odd/a_c.txt"); }), 1);
    EXPECT_EQ(count([&] { wrapper.searchEncryptedNameForPath("odd/it's \"quoted\".txt"); }), 1);
    EXPECT_EQ(count([&] { wrapper.searchEncryptedNameForPath("top.txt"); }), 1);
    EXPECT_EQ(count([&] { wrapper.searchEncryptedNameForPath("Office/Users/ann/ghost.txt"); }), 0);
    EXPECT_EQ(
        count([&] {
            wrapper.searchEncryptedNameForPaths({{"odd", QStringList{"abc.txt", "abc.txt", "a_c.txt", "a%c.txt"}}});
        }),
        2);
    EXPECT_EQ(count([&] {
                  wrapper.searchEncryptedNameInsidePaths({"Office/Users/ann", "Office/Users/ann", "x_y"});
              }),
              2);
    EXPECT_EQ(count([&] { wrapper.searchEncryptedNameInsidePath("/Office/Users/ann"); }), 2);
    // Each row names the file it stands for, so that a delete can tell which item a stored name is.
    EXPECT_EQ(sorted(delegate.names()), QStringList({"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt"}));
    const IndexEntry first = delegate.entries().value(0);
    EXPECT_EQ(first, fileEntry(first.fileName, "2014-05-06 10:11:12 +0000", 100, 1, "fid", "enc", "/Office"));
    count([&] { wrapper.searchEncryptedNameForPath("odd/it's \"quoted\".txt"); });
    EXPECT_EQ(delegate.names(), QStringList{"/odd/it's \"quoted\".txt"});
}

TEST_F(QueriesTest, PropertiesTotalTheSubtreeAndAnEmptyFolderGivesZero)
{
    wrapper.getProperties("/Office/Users/ann");
    EXPECT_EQ(delegate.record(), (QVariantMap{{"fileSize", "200.0"}, {"FileCount", "2"}, {"Status", "Success"}}));
    delegate.clear();
    wrapper.getProperties("/Office/Users/ann/ghostdir");
    EXPECT_EQ(delegate.record(), (QVariantMap{{"fileSize", "0.0"}, {"FileCount", "0"}, {"Status", "Success"}}));
}

TEST_F(QueriesTest, RenamingAFolderMovesOnlyItsSubtree)
{
    // The original path in another letter case names the same folder.
    const QVariantMap paths{{"OriginalPath", "/office/USERS/ann"}, {"RenamedPath", "/Office/Users/bob"}};
    wrapper.renameFolder(paths);
    QVariantMap expected = paths;
    expected.insert("Status", "Success");
    EXPECT_EQ(delegate.record(), expected);
    EXPECT_EQ(wrapper.getAllFilesInside("/Office/Users/bob").value(),
              QStringList({"/Office/Users/bob/a.txt", "/Office/Users/bob/sub/b.txt", "/Office/Users/bob/",
                           "/Office/Users/bob/sub/"}));
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/Office/Users/ann2/c.txt"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/Office/Users/ann/a.txt"), false);

    // A name that is taken fails and changes nothing.
    delegate.clear();
    wrapper.renameFolder({{"OriginalPath", "/Office/Users/bob"}, {"RenamedPath", "/Office/Users/ann2"}});
    EXPECT_EQ(delegate.record().value("Status"), "Failure");
    EXPECT_EQ(delegate.record().value("ErrorDesc"), "Database update failed");
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/Office/Users/bob/sub/b.txt"), true);
}

TEST_F(QueriesTest, RenamingAFileChangesOnlyThatFile)
{
    wrapper.renameFile({{"OriginalPath", "/odd/a_c.txt"}, {"RenamedPath", "/odd/new \"name\".txt"}});
    EXPECT_EQ(delegate.record().value("Status"), "Success");
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/odd/new \"name\".txt"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/odd/abc.txt"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/odd/a_c.txt"), false);
}

TEST_F(QueriesTest, FilesInsideAFolderStopAtItsSiblings)
{
    EXPECT_EQ(wrapper.getAllFilesInside("/Office/Users/ann").value(),
              QStringList({"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt", "/Office/Users/ann/",
                           "/Office/Users/ann/sub/"}));
    EXPECT_EQ(wrapper.getAllFilesInside("/x_y").value(), QStringList({"/x_y/f.txt", "/x_y/"}));
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/top.txt"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/ODD/A_C.TXT"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/odd/a-c.txt"), false);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/Office/Users/ann/ghost.txt"), false);
}

TEST_F(QueriesTest, AnIndexThatCannotBeReadIsReportedNotShownEmpty)
{
    writeText(mainIndexPath(), QByteArray(4096, 'x'));
    TXDatabaseWrapper reader{kShortTimings};
    reader.setDelegate(&delegate);
    QString error;
    EXPECT_FALSE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode, &error));
    EXPECT_FALSE(error.isEmpty());
    reader.fetchChildrenForPath("");
    reader.searchForKeyInsidePath({{"SearchKey", "a"}, {"PathRootForSearch", ""}});
    reader.renameFile({{"OriginalPath", "/top.txt"}, {"RenamedPath", "/top2.txt"}});
    EXPECT_EQ(delegate.errors, QStringList(3, "unable to open database"));
    EXPECT_FALSE(delegate.reported());
    reader.getProperties("/");
    EXPECT_EQ(delegate.record(), (QVariantMap{{"ErrorMssg", "LDB cannot be accessed"}, {"Status", "Failure"}}));
    EXPECT_FALSE(reader.getAllFilesInside("/").has_value());
    EXPECT_FALSE(reader.doesFileExistOnPortable("/top.txt").has_value());
    EXPECT_EQ(readText(mainIndexPath()), QByteArray(4096, 'x'));
}

TEST_F(QueriesTest, ReadersDoNotWaitForAMergeInProgress)
{
    FMDatabase merge(mainIndexPath());
    ASSERT_TRUE(merge.open());
    ASSERT_TRUE(merge.beginTransaction());
    ASSERT_TRUE(merge.executeUpdate("DELETE FROM qlfile"));
    TXDatabaseWrapper reader{kShortTimings};
    reader.setDelegate(&delegate);
    EXPECT_TRUE(reader.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
    reader.fetchChildrenForPath("Office/Users/ann");
    EXPECT_EQ(delegate.names(), QStringList({"/Office/Users/ann/sub/", "a.txt"}));
    EXPECT_TRUE(merge.rollback());
}

TEST_F(QueriesTest, TheRootFolderAndAMoveOfAFolderIntoItselfAreRefused)
{
    for (const auto &[original, renamed] : std::initializer_list<std::pair<QString, QString>>{
             {"/", "/elsewhere"}, {"", "/elsewhere"}, {"/x", "/x/inner"}, {"/Office", "/office/Users/moved"}}) {
        delegate.clear();
        ASSERT_TRUE(wrapper.initializeDatabaseAtPath(folder(), kUser, TXDatabaseWrapper::kListingMode));
        wrapper.renameFolder({{"OriginalPath", original}, {"RenamedPath", renamed}});
        EXPECT_EQ(delegate.record().value("Status"), "Failure")
            << original.toStdString() << " " << renamed.toStdString();
    }
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/top.txt"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/x/Report.doc"), true);
    EXPECT_EQ(wrapper.doesFileExistOnPortable("/Office/Users/ann/a.txt"), true);
}

TEST_F(QueriesTest, AMergeThatFindsNoRowForAFolderKeepsItsJournal)
{
    {
        FMDatabase db(mainIndexPath());
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(db.executeUpdate("DELETE FROM qlfolder WHERE NAME = '''/'''"));
    }
    writeJournal({{"/later.txt"}});
    EXPECT_FALSE(mergeJournals());
    EXPECT_EQ(folderEntries().filter(QRegularExpression("\\.qlt$")).size(), 1);
}
