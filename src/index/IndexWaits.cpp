#include "index/IndexWaits.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<double> gOpenWait{IndexWaits::kOpenWait};
std::atomic<double> gMergePause{IndexWaits::kMergePause};
}  // namespace

double IndexWaits::openWait()
{
    return gOpenWait.load();
}

double IndexWaits::mergePause()
{
    return gMergePause.load();
}

void IndexWaits::shortenForTests(double openWait, double mergePause)
{
    gOpenWait = openWait;
    gMergePause = mergePause;
}

void IndexWaits::restoreDefaults()
{
    shortenForTests(kOpenWait, kMergePause);
}

void sleepForSeconds(double seconds)
{
    if (seconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
