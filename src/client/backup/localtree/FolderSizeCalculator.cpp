#include "client/backup/localtree/FolderSizeCalculator.h"

#include "platform/PrivateFolder.h"

namespace {

QString outputFolder() { return PrivateFolder::runtimeRoot() + QStringLiteral("/tarnixvidezud-sizes"); }

}  // namespace

WalkingFolderSizeCalculator::WalkingFolderSizeCalculator(std::chrono::microseconds pausePerItem)
    : mCalculator(SizeCalculatorTimings{pausePerItem})
{}

QString WalkingFolderSizeCalculator::sizeOfFolder(const QString &diskPath)
{
    // Without a private folder the figure is only returned, never written.
    const QString folder = outputFolder();
    const QString output = PrivateFolder::ensure(folder) ? folder + QStringLiteral("/duoutput.du") : QString();
    return mCalculator.sizeforpathdu(diskPath, output);
}
