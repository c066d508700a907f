#include "uninstaller/loginitems/ZRLoginItemRegistry.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>

namespace {

bool sameProgram(const QString &itemProgram, const QString &programPath)
{
    std::error_code error;
    const bool equivalent = std::filesystem::equivalent(QFile::encodeName(itemProgram).toStdString(),
                                                        QFile::encodeName(programPath).toStdString(), error);
    return error ? QDir::cleanPath(itemProgram) == QDir::cleanPath(programPath) : equivalent;
}

}  // namespace

bool ZRLoginItemRegistry::removeLoginItemWithPath(const QString &programPath)
{
    bool removed = false;
    for (const LoginItems::Item &item : mItems.list()) {
        if (sameProgram(item.programPath, programPath))
            removed = mItems.remove(item.name) || removed;
    }
    return removed;
}

bool ZRLoginItemRegistry::hasLoginItemWithPath(const QString &programPath) const
{
    for (const LoginItems::Item &item : mItems.list()) {
        if (sameProgram(item.programPath, programPath))
            return true;
    }
    return false;
}
