#include "client/browser/search/RuvoKeySearch.h"

#include "client/browser/search/SearchRowRules.h"
#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"

#include <QMetaObject>
#include <QThreadPool>

// One search: its number, its controller, and what its worker thread reports.
// The rows are made on a thread of their own, batch after batch in order, while
// the query reads on; the main thread only shows them.
class RuvoKeySearch::Running : private RuvoSearchControllerDelegateProtocol
{
public:
    Running(RuvoKeySearch &owner, quint64 search, bool showHidden, IndexTimings timings)
        : mOwner(owner)
        , mSearch(search)
        , mShowHidden(showHidden)
        , mController(timings)
    {
        mRowMaker.setMaxThreadCount(1);
        mController.setDelegate(this);
    }

    RuvoSearchController &controller() { return mController; }

private:
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *) override
    {
        mRowMaker.start([this, rows] {
            QList<FileSystemNode> made = SearchRowRules::rowsFromResults(rows, mShowHidden);
            mOwner.onMainThread([search = mSearch, made = std::move(made)](KeySearchReceiver &receiver) mutable {
                receiver.searchReceivedRows(search, std::move(made));
            });
        });
    }
    void searchDidFinishSuccessfully(RuvoSearchController *) override
    {
        afterTheRows([](KeySearchReceiver &receiver, quint64 search) { receiver.searchFinished(search); });
    }
    void searchDidFailWithError(const QString &, RuvoSearchController *) override { ended(); }
    void searchDidCancel(RuvoSearchController *) override { ended(); }
    void ended()
    {
        afterTheRows([](KeySearchReceiver &receiver, quint64 search) { receiver.searchEnded(search); });
    }
    // The end reaches the main thread after every batch made before it.
    void afterTheRows(void (*end)(KeySearchReceiver &, quint64))
    {
        mRowMaker.start([this, end] {
            mOwner.onMainThread([search = mSearch, end](KeySearchReceiver &receiver) { end(receiver, search); });
        });
    }

    RuvoKeySearch &mOwner;
    const quint64 mSearch;
    const bool mShowHidden;
    QThreadPool mRowMaker;             // waits, when it goes, for the batch it makes
    RuvoSearchController mController;  // last: goes first, and with it its query's reports
};

RuvoKeySearch::RuvoKeySearch(Setup setUpController, IndexTimings timings, QObject *parent)
    : QObject(parent)
    , mSetUpController(std::move(setUpController))
    , mTimings(timings)
{}

RuvoKeySearch::~RuvoKeySearch() = default;

void RuvoKeySearch::start(quint64 search, const QString &key, const QString &root, bool showHidden)
{
    // The earlier search reports nothing more once it is gone.
    mRunning.reset();
    mRunning = std::make_unique<Running>(*this, search, showHidden, mTimings);
    RuvoSearchController &controller = mRunning->controller();
    if (mSetUpController)
        mSetUpController(controller);
    controller.setOpType(RuvoSearchController::KeySearch);
    controller.setSearchKey(key);
    controller.setPathRoot(root);
    controller.startSearch();
}

void RuvoKeySearch::cancel()
{
    if (mRunning)
        mRunning->controller().cancelSearch();
}

bool RuvoKeySearch::isRunning() const { return mRunning && mRunning->controller().isRunning(); }

void RuvoKeySearch::onMainThread(std::function<void(KeySearchReceiver &)> call)
{
    QMetaObject::invokeMethod(
        this,
        [this, call = std::move(call)] {
            if (receiver())
                call(*receiver());
        },
        Qt::QueuedConnection);
}
