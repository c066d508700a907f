#include "txruvo/RebuildOperation.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/ProgressLine.h"
#include "txruvo/Scenario.h"
#include "txruvo/VersionShelf.h"

#include <QDateTime>
#include <QDir>

#include <cstdio>
#include <optional>

namespace {

constexpr int kFatalStatus = 1;
constexpr int kMalformedStatus = 2;
const QString kOutputOption = QStringLiteral("--o");
const QString kErrorOption = QStringLiteral("--e");

// The names in a folder, in name order, without "." and "..".
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool hasFolderMarker(const QString &folder)
{
    return Markers::readFolderId(folder).has_value();
}

// The form the client's journals keep dates in: 2014-05-06 10:11:12 +0000.
QString modificationTime(const struct stat &status)
{
    return QDateTime::fromSecsSinceEpoch(status.st_mtime, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
           + QStringLiteral(" +0000");
}

}  // namespace

RebuildOperation::RebuildOperation(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mReport(scenario)
    , mDataRoot(folderPath(commandLine.value(QStringLiteral("--portable-dest"))))
{
}

int RebuildOperation::run()
{
    if (!mCommandLine.has(kOutputOption) || !mCommandLine.has(kErrorOption)) {
        std::fprintf(stderr, "txruvo error: invalid path (an index rebuild needs --o= and --e= files)\n");
        return kMalformedStatus;
    }
    QString error;
    if (!mReport.open(mCommandLine.value(kOutputOption), mCommandLine.value(kErrorOption), &error)) {
        std::fprintf(stderr, "txruvo error: invalid path (%s)\n", qPrintable(error));
        return kMalformedStatus;
    }
    if (!mScenario.errorText.isEmpty())
        mReport.error(mScenario.errorText);
    if (mCommandLine.value(QStringLiteral("--portable-dest")).isEmpty()) {
        mReport.error(QStringLiteral("txruvo error: invalid path (no --portable-dest= data root given)"));
        return kFatalStatus;
    }
    struct stat status {};
    if (!Posix::statPath(mDataRoot, &status) || !S_ISDIR(status.st_mode)) {
        mReport.error(QStringLiteral("txruvo error: device is not connected (%1)").arg(mDataRoot));
        return kFatalStatus;
    }
    int stopStatus = 0;
    for (const QString &computerFolder : computerFolders()) {
        const DriveLayout layout(computerFolder, computerFolder != mDataRoot);
        const VersionShelf shelf(layout);
        if (!listFolder(computerFolder, layout, shelf, &stopStatus))
            return stopStatus;
    }
    if (std::optional<int> stop = mScenario.stopAfter(mListed))
        return *stop;
    return mScenario.exitCode.value_or(0);
}

QStringList RebuildOperation::computerFolders() const
{
    if (hasFolderMarker(mDataRoot))
        return {mDataRoot};
    QStringList folders;
    for (const QString &name : namesIn(mDataRoot)) {
        const QString folder = joinPath(mDataRoot, name);
        struct stat status {};
        if (Posix::lstatPath(folder, &status) && S_ISDIR(status.st_mode) && hasFolderMarker(folder))
            folders << folder;
    }
    return folders;
}

bool RebuildOperation::listFolder(const QString &folder, const DriveLayout &layout, const VersionShelf &shelf,
                                  int *status)
{
    QStringList subfolders;
    std::optional<QString> folderId;
    for (const QString &name : namesIn(folder)) {
        const QString path = joinPath(folder, name);
        struct stat entry {};
        if (DriveLayout::isBookkeepingName(name) || !Posix::lstatPath(path, &entry))
            continue;
        if (S_ISDIR(entry.st_mode) && path != layout.versionFolder()) {
            subfolders << path;
            continue;
        }
        // Links on the drive are never followed, nor listed.
        if (!S_ISREG(entry.st_mode))
            continue;
        if (std::optional<int> stop = mScenario.stopAfter(mListed)) {
            *status = *stop;
            return false;
        }
        if (!folderId)
            folderId = Markers::ensureFolderId(folder);
        if (!folderId) {
            mReport.error(QStringLiteral("IOERROR: [%1], : %2 (txruvo error in file IO)")
                              .arg(layout.relativePathOf(path), Posix::errorText(errno)));
            continue;
        }
        mReport.listing(itemLine(path, *folderId, layout, shelf));
        ++mListed;
    }
    for (const QString &subfolder : subfolders) {
        if (!listFolder(subfolder, layout, shelf, status))
            return false;
    }
    return true;
}

QString RebuildOperation::itemLine(const QString &item, const QString &folderId, const DriveLayout &layout,
                                   const VersionShelf &shelf) const
{
    struct stat status {};
    Posix::lstatPath(item, &status);
    const QString relativePath = layout.relativePathOf(item);
    const std::optional<Markers::ItemRecord> marker = Markers::readItem(DriveLayout::markerPath(item));
    const QString encName = marker ? marker->encName : Markers::encodeName(Posix::fileName(item));
    const int version = layout.hasVersions() ? shelf.count(relativePath) + 1 : 1;
    return QStringLiteral("<file size=\"%1\" mod_time=\"%2\" file_ver=\"%3\" folder_id=\"%4\" mpc=\"%5\" "
                          "enc_name=\"%6\" fname=\"%7\"/>")
        .arg(quint64(status.st_size))
        .arg(modificationTime(status))
        .arg(version)
        .arg(escapeAttribute(folderId), escapeAttribute(layout.mpc()), escapeAttribute(encName),
             escapeAttribute(relativePath));
}
