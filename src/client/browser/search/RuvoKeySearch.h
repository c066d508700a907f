#pragma once

#include "client/browser/search/KeySearch.h"
#include "index/IndexTimings.h"

#include <QObject>

#include <functional>
#include <memory>

class TXEngineController;

// Key searches of the drive's index through the engine layer's search
// controller, one per search. The rows are made on the search's worker thread
// and handed to the main thread, each batch tagged with its search's number.
class RuvoKeySearch : public QObject, public KeySearch
{
public:
    using Setup = std::function<void(TXEngineController &)>;

    // timings: the waits of the index connections the searches open.
    explicit RuvoKeySearch(Setup setUpController, IndexTimings timings = {}, QObject *parent = nullptr);
    ~RuvoKeySearch() override;

    void start(quint64 search, const QString &key, const QString &root, bool showHidden) override;
    void cancel() override;
    bool isRunning() const override;

private:
    class Running;
    // Runs the call on the main thread, unless this is gone by then.
    void onMainThread(std::function<void(KeySearchReceiver &)> call);

    Setup mSetUpController;
    const IndexTimings mTimings;
    std::unique_ptr<Running> mRunning;
};
