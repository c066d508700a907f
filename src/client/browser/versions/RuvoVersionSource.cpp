#include "client/browser/versions/RuvoVersionSource.h"

#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/RuvoVersionHistoryController.h"
#include "platform/MainThread.h"

RuvoVersionSource::RuvoVersionSource(Fill fill)
    : mFill(std::move(fill))
{}

RuvoVersionSource::~RuvoVersionSource() = default;

void RuvoVersionSource::lookUp(const QString &indexPath, std::function<void(const Lookup &)> done)
{
    mFirstRow.reset();
    mLookupDone = std::move(done);
    mSearch = std::make_shared<RuvoSearchController>();
    if (mFill)
        mFill(*mSearch);
    mSearch->setDelegate(this);
    mSearch->setSearchKey(QString());
    mSearch->setPathRoot(indexPath);
    mSearch->setOpType(RuvoSearchController::ForPath);
    mSearch->startSearch();
}

void RuvoVersionSource::searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search)
{
    if (rows.isEmpty())
        return;
    const IndexEntry first = rows.first();
    MainThread::runInThreadOf(&mMainThreadContext, [this, search, first] {
        if (search == mSearch.get() && !mFirstRow)
            mFirstRow = first;
    });
}

void RuvoVersionSource::searchDidFinishSuccessfully(RuvoSearchController *search)
{
    MainThread::runInThreadOf(&mMainThreadContext, [this, search] { answerLookup(search, {mFirstRow, {}}); });
}

void RuvoVersionSource::searchDidFailWithError(const QString &error, RuvoSearchController *search)
{
    MainThread::runInThreadOf(&mMainThreadContext, [this, search, error] { answerLookup(search, {{}, error}); });
}

void RuvoVersionSource::searchDidCancel(RuvoSearchController *search)
{
    // Only a lookup replaced by another is cancelled, and that one answers nobody.
    MainThread::runInThreadOf(&mMainThreadContext, [this, search] { answerLookup(search, {}); });
}

void RuvoVersionSource::answerLookup(RuvoSearchController *search, const Lookup &lookup)
{
    if (search != mSearch.get())
        return;
    // The search goes once its worker has let go of it, after this answer.
    MainThread::runInThreadOf(&mMainThreadContext, [finished = std::move(mSearch)] {});
    const std::function<void(const Lookup &)> done = std::exchange(mLookupDone, {});
    if (done)
        done(lookup);
}

void RuvoVersionSource::listVersions(const ListRequest &request, std::function<void(const List &)> done)
{
    mListDone = std::move(done);
    mHistory = std::make_shared<RuvoVersionHistoryController>();
    if (mFill)
        mFill(*mHistory);
    mHistory->setFilePath(request.serverPath);
    mHistory->setMpcName(request.mpcName);
    mHistory->setDestination(request.destination);
    mHistory->setDelegate(this);
    mHistory->StartVersionHistory();
}

void RuvoVersionSource::RuvoVersionHistoryDidFinishSuccessfully(RuvoVersionHistoryController *controller,
                                                                const QList<FileSystemNode> &versions)
{
    answerList(controller, {true, versions, {}});
}

void RuvoVersionSource::RuvoVersionHistoryDidFailWithError(const QString &error,
                                                           RuvoVersionHistoryController *controller)
{
    answerList(controller, {false, {}, error});
}

void RuvoVersionSource::answerList(RuvoVersionHistoryController *controller, const List &list)
{
    if (controller != mHistory.get())
        return;
    // The controller is inside this call: it goes afterwards.
    MainThread::runInThreadOf(&mMainThreadContext, [finished = std::move(mHistory)] {});
    const std::function<void(const List &)> done = std::exchange(mListDone, {});
    if (done)
        done(list);
}
