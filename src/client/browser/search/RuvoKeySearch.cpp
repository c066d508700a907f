#include "client/browser/search/RuvoKeySearch.h"

#include "client/browser/search/SearchRowRules.h"
#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"

#include <QMetaObject>

// One search: its number, its controller, and what its worker thread reports.
class RuvoKeySearch::Running : private RuvoSearchControllerDelegateProtocol
{
public:
    Running(RuvoKeySearch &owner, quint64 search, bool showHidden, IndexTimings timings)
        : mOwner(owner)
        , mSearch(search)
        , mShowHidden(showHidden)
        , mController(timings)
    {
        mController.setDelegate(this);
    }

    RuvoSearchController &controller() { return mController; }

private:
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *) override
    {
        // The rows are made here, on the worker thread: the main thread only shows them.
        QList<FileSystemNode> made = SearchRowRules::rowsFromResults(rows, mShowHidden);
        mOwner.onMainThread([search = mSearch, made = std::move(made)](KeySearchReceiver &receiver) mutable {
            receiver.searchReceivedRows(search, std::move(made));
        });
    }
    void searchDidFinishSuccessfully(RuvoSearchController *) override
    {
        mOwner.onMainThread([search = mSearch](KeySearchReceiver &receiver) { receiver.searchFinished(search); });
    }
    void searchDidFailWithError(const QString &, RuvoSearchController *) override { ended(); }
    void searchDidCancel(RuvoSearchController *) override { ended(); }
    void ended()
    {
        mOwner.onMainThread([search = mSearch](KeySearchReceiver &receiver) { receiver.searchEnded(search); });
    }

    RuvoKeySearch &mOwner;
    const quint64 mSearch;
    const bool mShowHidden;
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
