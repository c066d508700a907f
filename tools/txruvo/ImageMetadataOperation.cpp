#include "txruvo/ImageMetadataOperation.h"

#include "txruvo/DriveLayout.h"
#include "txruvo/Posix.h"
#include "txruvo/StoredTree.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace {

const QString kFileDirective = QStringLiteral("--f=");
const QString kAttributesDirective = QStringLiteral("--a=");
const QString kNotPermitted = QStringLiteral("Operation not permitted (%1)");

class ImageMetadataWorker : public SessionRun::Worker
{
public:
    explicit ImageMetadataWorker(SessionRun &run)
        : mRun(run)
        , mLayout(run.dataRoot(), false)
    {}

    std::optional<SessionRun::Stop> handle(const ListEntry &entry) override
    {
        const QString line = entry.text();
        if (line.startsWith(kFileDirective)) {
            reportUnpaired();
            mPendingFile = line.mid(kFileDirective.size());
            return std::nullopt;
        }
        if (!line.startsWith(kAttributesDirective) || mPendingFile.isEmpty()) {
            mRun.report().fileError(line, kNotPermitted.arg(QStringLiteral("not a file directive and its attributes")));
            return std::nullopt;
        }
        const QString file = std::exchange(mPendingFile, QString());
        return annotate(file, line.mid(kAttributesDirective.size()));
    }

    std::optional<SessionRun::Stop> finish() override
    {
        reportUnpaired();
        return std::nullopt;
    }

private:
    void reportUnpaired()
    {
        if (!mPendingFile.isEmpty())
            mRun.report().fileError(mPendingFile, kNotPermitted.arg(QStringLiteral("no attributes given")));
        mPendingFile.clear();
    }

    std::optional<SessionRun::Stop> annotate(const QString &file, const QString &attributes)
    {
        const QString userPath = foldSlashes(file.startsWith('/') ? file : '/' + file);
        const QString item = mLayout.itemPath(mLayout.storedPathOf(userPath));
        struct stat status
        {};
        const QStringList parts = userPath.split('/');
        if (parts.contains(QStringLiteral("..")) || parts.contains(QStringLiteral(".")) ||
            !Posix::lstatPath(item, &status) || !StoredTree::isItem(status) ||
            !Posix::exists(DriveLayout::markerPath(item))) {
            mRun.report().fileError(file, Posix::errorText(ENOENT) + QStringLiteral(" (not a stored item)"));
            return std::nullopt;
        }
        const QString draft = Posix::temporaryPath(Posix::parentOf(item));
        if (Posix::writeSmall(draft, attributes.toUtf8()) &&
            ::rename(Posix::native(draft).constData(),
                     Posix::native(DriveLayout::imageAttributesPath(item)).constData()) == 0)
            return std::nullopt;
        const int error = errno;
        ::unlink(Posix::native(draft).constData());
        if (error == ENOSPC)
            return mRun.driveFull();
        mRun.report().fileError(file, error);
        return std::nullopt;
    }

    SessionRun &mRun;
    DriveLayout mLayout;
    QString mPendingFile;
};

}  // namespace

int ImageMetadataOperation::run()
{
    // In list order on one thread: each attribute line belongs to the file line before it.
    return mRun.forEachEntry(1, [this] { return std::make_unique<ImageMetadataWorker>(mRun); });
}
