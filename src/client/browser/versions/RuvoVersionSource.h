#pragma once

#include "client/browser/versions/VersionSource.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"
#include "engine/controllers/RuvoVersionHistoryControllerDelegateProtocol.h"

#include <QObject>

#include <functional>
#include <memory>

class RuvoSearchController;
class RuvoVersionHistoryController;
class TXEngineController;

// The program's version source: the index search for the record of one path,
// and the engine's version list, each set up with the signed-in account. One
// lookup and one list at a time: a new one takes the place of the one before,
// which then answers nothing.
class RuvoVersionSource : public VersionSource,
                          private RuvoSearchControllerDelegateProtocol,
                          private RuvoVersionHistoryControllerDelegateProtocol
{
public:
    // Fills a controller's account, proxy and engine from the signed-in account.
    using Fill = std::function<void(TXEngineController &)>;

    explicit RuvoVersionSource(Fill fill);
    ~RuvoVersionSource() override;

    void lookUp(const QString &indexPath, std::function<void(const Lookup &)> done) override;
    void listVersions(const ListRequest &request, std::function<void(const List &)> done) override;

private:
    // The search answers on its worker thread; its answer is handed to the main thread.
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *search) override;
    void searchDidFinishSuccessfully(RuvoSearchController *search) override;
    void searchDidFailWithError(const QString &error, RuvoSearchController *search) override;
    void searchDidCancel(RuvoSearchController *search) override;
    void answerLookup(RuvoSearchController *search, const Lookup &lookup);

    void RuvoVersionHistoryDidFinishSuccessfully(RuvoVersionHistoryController *controller,
                                                 const QList<FileSystemNode> &versions) override;
    void RuvoVersionHistoryDidFailWithError(const QString &error, RuvoVersionHistoryController *controller) override;
    void answerList(RuvoVersionHistoryController *controller, const List &list);

    Fill mFill;
    QObject mMainThreadContext;
    std::shared_ptr<RuvoSearchController> mSearch;
    std::function<void(const Lookup &)> mLookupDone;
    std::optional<IndexEntry> mFirstRow;  // of the current search
    std::shared_ptr<RuvoVersionHistoryController> mHistory;
    std::function<void(const List &)> mListDone;
};
