#include "uninstaller/removal/InstallReceipt.h"

#include "uninstaller/removal/RemovalPathCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

InstallReceipt InstallReceipt::read(const QString &receiptPath)
{
    InstallReceipt receipt;
    receipt.mFolder = QFileInfo(receiptPath).absolutePath();
    QFile file(receiptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        receipt.mProblem = QStringLiteral("No installation was found here: %1 cannot be read (%2)")
                               .arg(receiptPath, file.errorString());
        return receipt;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QString path = QDir::isAbsolutePath(line) ? line : receipt.mFolder + QLatin1Char('/') + line;
        const QString refusal = RemovalPathCheck::refusal(path);
        if (refusal.isEmpty())
            receipt.mFiles.append(QDir::cleanPath(path));
        else
            receipt.mRefusals.append(refusal);
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
    std::sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
        return a.count(QLatin1Char('/')) != b.count(QLatin1Char('/')) ? a.count(QLatin1Char('/')) > b.count(QLatin1Char('/')) : a < b;
    });
    return ordered;
}
