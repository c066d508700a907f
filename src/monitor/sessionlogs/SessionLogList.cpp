#include "monitor/sessionlogs/SessionLogList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

std::optional<SessionLogList::Row> SessionLogList::rowForName(const QString &folder, const QString &name)
{
    if (name.startsWith(QLatin1Char('.')))
        return std::nullopt;
    const qsizetype blank = name.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return std::nullopt;
    const QString date = name.mid(blank + 1);
    QDateTime start = QDateTime::fromString(date, QStringLiteral("MM-dd-yyyy-HH-mm-ss"));
    if (!start.isValid())
        start = QDateTime::fromString(date, QStringLiteral("MM-dd-yyyy-HH-mm"));
    if (!start.isValid())
        return std::nullopt;
    return Row{folder + QLatin1Char('/') + name, name.left(blank), start, false};
}

void SessionLogList::reloadSessionLogs()
{
    mRows.clear();
    const QFileInfoList entries = QDir(mFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (auto row = rowForName(mFolder, entry.fileName()))
            mRows.append(*row);
    }
    std::stable_sort(mRows.begin(), mRows.end(), [](const Row &a, const Row &b) { return a.startTime > b.startTime; });
}

int SessionLogList::deleteRows(const QSet<int> &rows)
{
    QList<Row> kept;
    int removed = 0;
    for (int i = 0; i < mRows.size(); ++i) {
        if (rows.contains(i) && QFile::remove(mRows[i].filePath)) {
            ++removed;
            continue;
        }
        kept.append(mRows[i]);
    }
    mRows = kept;
    return removed;
}
