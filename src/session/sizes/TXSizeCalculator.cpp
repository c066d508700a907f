#include "session/sizes/TXSizeCalculator.h"

#include "common/files/TextFile.h"
#include "platform/PropertyList.h"

#include <QFile>

#include <set>
#include <thread>
#include <utility>

#include <fts.h>
#include <sys/stat.h>

namespace {

const QString kNotMeasured = QStringLiteral("-1");

// Closes the walk however the loop ends.
struct FtsHandle
{
    FTS *walk;
    ~FtsHandle()
    {
        if (walk)
            ::fts_close(walk);
    }
};

}  // namespace

TXSizeCalculator::TXSizeCalculator(SizeCalculatorTimings timings)
    : mTimings(timings)
{}

QString TXSizeCalculator::sizeforpathdu(const QString &path, const QString &outputFile) const
{
    const std::optional<quint64> size = apparentSize(path);
    if (!size) {
        QFile::remove(outputFile);
        return kNotMeasured;
    }
    const QString figure = QString::number(*size);
    TextFile::write(outputFile, figure + u'\n', PropertyList::kOwnerReadWrite);
    return figure;
}

std::optional<quint64> TXSizeCalculator::apparentSize(const QString &path) const
{
    if (path.isEmpty())
        return std::nullopt;
    QByteArray native = QFile::encodeName(path);
    char *roots[] = {native.data(), nullptr};
    // Physical walk: links are reported as links and never entered, so no loop is possible.
    const FtsHandle handle{::fts_open(roots, FTS_PHYSICAL | FTS_NOCHDIR, nullptr)};
    if (!handle.walk)
        return std::nullopt;

    std::set<std::pair<dev_t, ino_t>> linkedFilesSeen;
    quint64 total = 0;
    bool rootMeasured = false;
    while (const FTSENT *entry = ::fts_read(handle.walk)) {
        switch (entry->fts_info) {
        case FTS_D:  // a folder is counted once, when it is left
            continue;
        case FTS_NS:
        case FTS_NSOK:
        case FTS_ERR:
            continue;
        default:
            break;
        }
        const struct stat *status = entry->fts_statp;
        const bool linkedFile = !S_ISDIR(status->st_mode) && status->st_nlink > 1;
        if (linkedFile && !linkedFilesSeen.emplace(status->st_dev, status->st_ino).second)
            continue;
        total += quint64(status->st_size);
        if (entry->fts_level == FTS_ROOTLEVEL)
            rootMeasured = true;
        if (mTimings.pausePerItem.count() > 0)
            std::this_thread::sleep_for(mTimings.pausePerItem);
    }
    if (!rootMeasured)
        return std::nullopt;
    return total;
}
