#include "txruvo/RebuildOperation.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"
#include "txruvo/ExitStatus.h"
#include "txruvo/Markers.h"
#include "txruvo/Posix.h"
#include "txruvo/ProgressLine.h"
#include "txruvo/Scenario.h"
#include "txruvo/StoredTree.h"
#include "txruvo/VersionShelf.h"

#include <algorithm>
#include <cstdio>
#include <optional>

RebuildOperation::RebuildOperation(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mReport(scenario, EngineTimings{})
    , mDataRoot(folderPath(commandLine.value(QStringLiteral("--portable-dest"))))
{}

int RebuildOperation::run()
{
    if (!mCommandLine.has(CommandLine::kOutputFile) || !mCommandLine.has(CommandLine::kErrorFile)) {
        std::fprintf(stderr, "txruvo error: invalid path (an index rebuild needs --o= and --e= files)\n");
        return ExitStatus::kMalformed;
    }
    QString error;
    if (!mReport.open(mCommandLine.value(CommandLine::kOutputFile), mCommandLine.value(CommandLine::kErrorFile),
                      &error)) {
        std::fprintf(stderr, "txruvo error: invalid path (%s)\n", qPrintable(error));
        return ExitStatus::kMalformed;
    }
    if (!mScenario.errorText.isEmpty())
        mReport.error(mScenario.errorText);
    if (mCommandLine.value(QStringLiteral("--portable-dest")).isEmpty()) {
        mReport.error(QStringLiteral("txruvo error: invalid path (no --portable-dest= data root given)"));
        return ExitStatus::kFailed;
    }
    struct stat status
    {};
    if (!Posix::statPath(mDataRoot, &status) || !S_ISDIR(status.st_mode)) {
        mReport.error(QStringLiteral("txruvo error: device is not connected (%1)").arg(mDataRoot));
        return ExitStatus::kFailed;
    }
    int stopStatus = 0;
    for (const QString &computerFolder : StoredTree::computerFoldersIn(mDataRoot)) {
        if (!listComputerFolder(DriveLayout(computerFolder, computerFolder != mDataRoot), &stopStatus))
            return stopStatus;
    }
    if (std::optional<int> stop = mScenario.stopAfter(mListed))
        return *stop;
    return mScenario.exitCode.value_or(0);
}

bool RebuildOperation::listComputerFolder(const DriveLayout &layout, int *status)
{
    const StoredTree tree(layout);
    const VersionShelf shelf(layout);
    QStringList folders;
    tree.forEachFolder([&folders](const QString &folder) { folders << folder; });
    for (const QString &folder : folders) {
        QList<StoredTree::Item> items = tree.itemsOf(folder);
        if (items.isEmpty())
            continue;
        std::sort(items.begin(), items.end(),
                  [](const StoredTree::Item &a, const StoredTree::Item &b) { return a.path < b.path; });
        // A listing only reads the drive.
        const std::optional<QString> folderId = Markers::readFolderId(folder);
        for (const StoredTree::Item &item : items) {
            if (std::optional<int> stop = mScenario.stopAfter(mListed)) {
                *status = *stop;
                return false;
            }
            const QString storedPath = layout.relativePathOf(item.path);
            if (!folderId) {
                mReport.fileError(layout.userPathOf(storedPath),
                                  QStringLiteral("No such file or directory (no folder identifier)"));
                continue;
            }
            mReport.listing(QStringLiteral("<file size=\"%1\" mod_time=\"%2\" file_ver=\"%3\" folder_id=\"%4\" "
                                           "mpc=\"%5\" enc_name=\"%6\" fname=\"%7\"/>")
                                .arg(quint64(item.status.st_size))
                                .arg(StoredTree::journalTime(item.status))
                                .arg(layout.hasVersions() ? shelf.count(storedPath) + 1 : 1)
                                .arg(escapeAttribute(*folderId), escapeAttribute(layout.mpc()),
                                     escapeAttribute(StoredTree::encNameOf(item)),
                                     escapeAttribute(layout.userPathOf(storedPath))));
            ++mListed;
        }
    }
    return true;
}
