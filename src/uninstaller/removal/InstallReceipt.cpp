#include "uninstaller/removal/InstallReceipt.h"

#include "uninstaller/removal/RemovalPathCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kReceiptSuffix = QStringLiteral(".receipt");

}  // namespace

QStringList InstallReceipt::listedPaths(const QString &receiptPath, QString *problem)
{
    QFile file(receiptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("No installation was found here: %1 cannot be read (%2)")
                           .arg(receiptPath, file.errorString());
        return {};
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst();  // the program's name and version
    return lines;
}

InstallReceipt InstallReceipt::read(const QString &receiptPath)
{
    InstallReceipt receipt;
    receipt.mFolder = QFileInfo(receiptPath).absolutePath();
    const QStringList lines = listedPaths(receiptPath, &receipt.mProblem);
    if (!receipt.mProblem.isEmpty())
        return receipt;

    QSet<QString> stillInstalled;
    const QString ownName = QFileInfo(receiptPath).fileName();
    for (const QString &other : QDir(receipt.mFolder).entryList({QLatin1Char('*') + kReceiptSuffix}, QDir::Files)) {
        if (other != ownName) {
            for (const QString &path : listedPaths(receipt.mFolder + QLatin1Char('/') + other, nullptr))
                stillInstalled.insert(QDir::cleanPath(path));
        }
    }
    for (const QString &path : lines) {
        const QString refusal = RemovalPathCheck::refusal(path);
        if (!refusal.isEmpty())
            receipt.mRefusals.append(refusal);
        else if (!stillInstalled.contains(QDir::cleanPath(path)) &&
                 QDir::cleanPath(path) != QDir::cleanPath(receiptPath))
            receipt.mFiles.append(QDir::cleanPath(path));
    }
    return receipt;
}

QStringList InstallReceipt::foldersDeepestFirst() const
{
    QSet<QString> folders;
    for (const QString &file : mFiles) {
        for (QString folder = QFileInfo(file).path(); folder.startsWith(mFolder + QLatin1Char('/'));
             folder = QFileInfo(folder).path())
            folders.insert(folder);
    }
    folders.insert(mFolder);
    QStringList ordered(folders.begin(), folders.end());
    const auto depth = [](const QString &path) { return path.count(QLatin1Char('/')); };
    std::sort(ordered.begin(), ordered.end(),
              [&](const QString &a, const QString &b) { return depth(a) != depth(b) ? depth(a) > depth(b) : a < b; });
    return ordered;
}
