// The search as a user meets it: a key typed into the search field of the
// client's window over a generated index of 1,000,000 files, timed until the
// first rows are drawn in the results table and until every row is drawn
// (sorted by folder), for a rare key (one file) and a common one (111,111
// files). Beside it, in the same run, the index query alone through the engine
// layer's search controller, to the first rows handed over and to its end.
// The summary prints medians and the page's figures as ratios of the query's.
//
//   bin/search_page_bench                       1,000,000 files
//   bin/search_page_bench --files=100000        a smaller index (quick)
//   bin/search_page_bench --index=DIR           keeps the generated index in DIR and reuses it
//   bin/search_page_bench --runs=N              runs per figure (10 by default)
//
// Every figure is taken warm (the index's pages in the system's cache) and
// without the index format's fixed wait before a reader opens it (1 s), which
// is printed beside and comes on top of every figure in the program.

#include "../index/GeneratedIndex.h"
#include "client/browser/host/BrowserHost.h"
#include "client/browser/search/RuvoKeySearch.h"
#include "client/browser/search/SearchController.h"
#include "client/browser/views/SearchPageView.h"
#include "client/browser/views/SearchTableModel.h"
#include "client/common/progress/ProgressViewController.h"
#include "common/account/User.h"
#include "common/context/ProgramContext.h"
#include "common/files/TXSupportFileManager.h"
#include "engine/controllers/RuvoSearchController.h"
#include "engine/controllers/RuvoSearchControllerDelegateProtocol.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

int gFiles = 1000000;
int gRuns = 10;
const QString kUser = QStringLiteral("ann");
const QString kDrive = QStringLiteral("BenchDrive");
// Matches file1, file10-file19, file100-... : 111,111 files of 1,000,000.
const QString kCommonKey = QStringLiteral("file1");

struct Figures
{
    double firstRows = 0;  // seconds
    double allRows = 0;
    qsizetype rows = 0;
};
std::map<std::string, std::vector<Figures>> gFigures;

IndexTimings withoutOpenWait()
{
    IndexTimings timings;
    timings.openWait = std::chrono::milliseconds(0);
    return timings;
}

// The program around the page, as far as a search asks of it.
class BenchHost : public BrowserHost
{
public:
    BenchHost()
    {
        account.setUserName(kUser);
        account.setRuvoUser(true);
    }
    bool isReIndexInProgress() const override { return false; }
    QString currentDestinationDrive() const override { return kDrive; }
    QString mpcName() const override { return QStringLiteral("/Office"); }
    bool isAppInBackupMode() const override { return true; }
    const User &userObject() override { return account; }
    QVariantMap getPreferencesSettingForUser(const QString &) const override { return {}; }
    void setOperationActive(bool) override {}
    void sendSessionLogInformation(const SessionLogReport &) override {}
    void displayLogView() override {}
    void upgrade() override {}
    void setDisplayRefreshGuide(bool) override {}
    void calQuota() override {}
    void setUserAndProxyToObject(TXEngineController &controller) override { controller.userInfo() = account; }
    void setRestoreMiniProgressHidden(bool) override {}
    void setRestoreMiniPercentage(const QString &) override {}
    void setSearchInProgress(bool) override {}
    void setRestoreRunning(bool) override {}
    bool isVersionRestoreRunning() const override { return false; }
    void cancelVersionRestore() override {}

    User account;
};

// The query alone: the engine layer's search controller, its rows kept as the client keeps them.
class QueryWaiter : public RuvoSearchControllerDelegateProtocol
{
public:
    Figures run(const QString &key)
    {
        RuvoSearchController search(withoutOpenWait());
        search.setDelegate(this);
        search.setUser(BenchHost().account);
        search.setPathRoot(QString());
        search.setSearchKey(key);
        QElapsedTimer clock;
        {
            std::lock_guard<std::mutex> lock(mLock);
            mFigures = {};
            mDone = false;
            mKept.clear();
        }
        clock.start();
        mClock = &clock;
        search.startSearch();
        std::unique_lock<std::mutex> lock(mLock);
        mEnded.wait(lock, [this] { return mDone; });
        return mFigures;
    }

private:
    void searchDidReceiveData(const IndexEntries &rows, RuvoSearchController *) override
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mFigures.rows == 0 && !rows.isEmpty())
            mFigures.firstRows = mClock->nsecsElapsed() / 1e9;
        mFigures.rows += rows.size();
        mKept += rows;
    }
    void searchDidFinishSuccessfully(RuvoSearchController *) override { end(); }
    void searchDidFailWithError(const QString &error, RuvoSearchController *) override
    {
        qFatal("search failed: %s", qPrintable(error));
    }
    void searchDidCancel(RuvoSearchController *) override { qFatal("search cancelled"); }
    void end()
    {
        std::lock_guard<std::mutex> lock(mLock);
        mFigures.allRows = mClock->nsecsElapsed() / 1e9;
        mDone = true;
        mEnded.notify_all();
    }

    std::mutex mLock;
    std::condition_variable mEnded;
    QElapsedTimer *mClock = nullptr;
    Figures mFigures;
    IndexEntries mKept;
    bool mDone = false;
};

// The page: the search page's controller, the index search it runs, the table's model and the
// page itself at the main window's page size, shown on the offscreen platform.
struct Page
{
    Page()
        : search([](TXEngineController &controller) { BenchHost().setUserAndProxyToObject(controller); },
                 withoutOpenWait())
        , controller(host, search)
        , model(controller)
        , page(controller, progress, model)
        , view(*page.tableView())
    {
        controller.setView(&page);
        page.resize(760, 560);
        page.show();
    }

    // From the key given to the page until the rows are drawn.
    Figures run(const QString &key)
    {
        Figures figures;
        QElapsedTimer clock;
        clock.start();
        controller.searchforPath(key, QString());
        while (model.rowCount() == 0 && controller.isSearching())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view.viewport()->repaint();
        figures.firstRows = clock.nsecsElapsed() / 1e9;
        while (controller.isSearching())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view.viewport()->repaint();
        figures.allRows = clock.nsecsElapsed() / 1e9;
        figures.rows = model.rowCount();
        return figures;
    }

    BenchHost host;
    RuvoKeySearch search;
    SearchController controller;
    SearchTableModel model;
    ProgressViewController progress;
    SearchPageView page;
    QTableView &view;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void registerRuns(const std::string &name, const std::function<Figures()> &run)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [name, run](benchmark::State &state) {
                                     run();  // brings the index's pages in; not counted
                                     for (auto _ : state) {
                                         const Figures figures = run();
                                         state.SetIterationTime(figures.allRows);
                                         state.counters["rows"] = double(figures.rows);
                                         state.counters["first_ms"] = figures.firstRows * 1000;
                                         gFigures[name].push_back(figures);
                                     }
                                 })
        ->Iterations(gRuns)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

void printSummary(const std::vector<std::pair<QString, std::string>> &keys)
{
    const auto medianOf = [](const std::string &name, double Figures::*field) {
        std::vector<double> values;
        for (const Figures &figures : gFigures[name])
            values.push_back(figures.*field);
        return median(values) * 1000;
    };
    std::printf("\nmedians of %d runs, index of %d files, warm; the index's fixed wait before a reader opens it "
                "(%lld ms) not counted\n",
                gRuns, gFiles, qint64(IndexTimings().openWait.count()));
    std::printf("%-16s %10s %12s %12s %10s %12s %12s %10s\n", "key", "rows", "query first", "page first", "ratio",
                "query all", "page all", "ratio");
    for (const auto &[label, tag] : keys) {
        const std::string query = "query alone: " + tag, page = "search page: " + tag;
        const double queryFirst = medianOf(query, &Figures::firstRows), pageFirst = medianOf(page, &Figures::firstRows);
        const double queryAll = medianOf(query, &Figures::allRows), pageAll = medianOf(page, &Figures::allRows);
        std::printf("%-16s %10lld %10.1f ms %10.1f ms %9.2fx %10.1f ms %10.1f ms %9.2fx\n", qPrintable(label),
                    qint64(gFigures[page].empty() ? 0 : gFigures[page].front().rows), queryFirst, pageFirst,
                    pageFirst / queryFirst, queryAll, pageAll, pageAll / queryAll);
    }
    std::printf("goals: first rows under 200 ms (rare key) and 500 ms (common key); the page adds under 20%% "
                "(ratio under 1.20)\n");
}

}  // namespace

int main(int argc, char *argv[])
{
    QString indexBase;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QLatin1String("--files=")))
            gFiles = std::max(10, argument.mid(8).toInt());
        else if (argument.startsWith(QLatin1String("--runs=")))
            gRuns = std::max(3, argument.mid(7).toInt());
        else if (argument.startsWith(QLatin1String("--index=")))
            indexBase = argument.mid(8);
        else
            rest.push_back(argv[i]);
    }
    int restCount = int(rest.size());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    const QString base = indexBase.isEmpty() ? scratch.path() : indexBase;
    // Every per-user and machine-wide folder, and the drive, in the scratch or index folder.
    qputenv("HOME", QFile::encodeName(base + "/home"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + "/config"));
    qputenv("TX_SUPPORT_ROOT", QFile::encodeName(base + "/support"));
    qputenv("TX_VOLUMES_ROOT", QFile::encodeName(base + "/volumes"));
    QApplication app(restCount, rest.data());
    ProgramContext context;
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    files.setTarnixUserName(kUser);
    QDir().mkpath(base + "/volumes/" + kDrive);
    bool changed = false;
    files.setDestinationDrive(kDrive, &changed);
    const QString indexFolder = files.pathForApplicationFile(ApplicationFile::LDBFolder);
    const QString marker = indexFolder + QStringLiteral("/complete-%1").arg(gFiles);
    if (!QFile::exists(marker)) {
        QDir(indexFolder).removeRecursively();
        QDir().mkpath(indexFolder);
        std::printf("building an index of %d files in %s ...\n", gFiles, qPrintable(indexFolder));
        std::fflush(stdout);
        GeneratedIndex::build(indexFolder, kUser, gFiles);
        QFile(marker).open(QIODevice::WriteOnly);
    }

    QueryWaiter query;
    Page page;
    const std::vector<std::pair<QString, std::string>> keys = {
        {QStringLiteral("rare"), "rare key " + GeneratedIndex::rareName(gFiles).toStdString()},
        {QStringLiteral("common"), "common key \"" + kCommonKey.toStdString() + "\""},
    };
    const QString keyTexts[] = {GeneratedIndex::rareName(gFiles), kCommonKey};
    for (size_t key = 0; key < keys.size(); ++key) {
        const QString text = keyTexts[key];
        registerRuns("query alone: " + keys[key].second, [&query, text] { return query.run(text); });
        registerRuns("search page: " + keys[key].second, [&page, text] { return page.run(text); });
    }
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary(keys);
    return 0;
}
