#include "engine/controllers/ControllerTestSupport.h"

#include "engine/controllers/RuvoListingController.h"
#include "engine/controllers/RuvoListingControllerDelegateProtocol.h"

#include <memory>

namespace {

class ListingRecorder : public RuvoListingControllerDelegateProtocol
{
public:
    void fileListingDidStart(RuvoListingController *) override { log.add("start"); }
    void fileListingDidFinishSuccessfully(RuvoListingController *listing) override
    {
        for (const IndexEntry &row : listing->fileList())
            names << row.fileName;
        log.add("finish");
    }
    void fileListingDidCancel(RuvoListingController *) override { log.add("cancel"); }

    CallbackLog log;
    QStringList names;
};

class ListingControllerTest : public IndexReaderFixture
{
protected:
    void SetUp() override
    {
        IndexReaderFixture::SetUp();
        addFiles({"/Office/Users/ann/a.txt", "/Office/Users/ann/sub/b.txt"});
    }

    // Lists one folder to its end; the callbacks it heard.
    QStringList list(const QString &folder, QStringList *names = nullptr)
    {
        ListingRecorder recorder;
        RuvoListingController listing(timings());
        listing.userInfo() = account();
        listing.setPathRoot(folder);
        listing.setDelegate(&recorder);
        listing.startListing();
        listing.cancelListing();  // changes nothing
        EXPECT_TRUE(recorder.log.waitFor(2));
        spinFor(50);
        if (names)
            *names = recorder.names;
        return recorder.log.entries();
    }
};

TEST_F(ListingControllerTest, AFolderIsListedOnAWorkerAndDeliveredOnTheMainThread)
{
    const struct
    {
        QString folder;
        QStringList names;
    } cases[] = {
        {"", {"/Office/"}},
        {"Office/Users/ann", {"/Office/Users/ann/sub/", "a.txt"}},
        {"Office/Users/nobody", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        QStringList names;
        EXPECT_EQ(list(c.folder, &names), QStringList({"start (main)", "finish (main)"}));
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(ListingControllerTest, AnIndexThatCannotBeReadCancelsTheListing)
{
    spoilIndex();
    EXPECT_EQ(list(""), QStringList({"start (main)", "cancel (main)"}));
    enterSyncModeWithoutSyncUser();
    EXPECT_EQ(list(""), QStringList({"start (main)", "cancel (main)"}));
}

TEST_F(ListingControllerTest, AControllerGoneBeforeItsEndArrivesTellsNothing)
{
    ListingRecorder recorder;
    auto listing = std::make_unique<RuvoListingController>(timings());
    listing->userInfo() = account();
    listing->setDelegate(&recorder);
    listing->startListing();
    // The end is posted to the main thread, which has not run since.
    QThread::msleep(200);
    listing.reset();
    spinFor(200);
    EXPECT_EQ(recorder.log.entries(), QStringList{"start (main)"});
}

}  // namespace
