#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The list named by "--files-from=": UTF-8 lines joined by "\n" (the last
// one usually without it). Empty lines are skipped; a line that is not
// valid UTF-8 is kept with replacement characters and marked, so it can be
// reported rather than guessed at.
struct ListEntry
{
    QString text;
    bool validUtf8 = true;
};

std::optional<QList<ListEntry>> readListFile(const QString &path, QString *error);
