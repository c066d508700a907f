#pragma once

#include <QList>
#include <QString>

#include <optional>

// One line of a list. Its text refers to the list's own (ListFile), which
// must outlive it.
struct ListEntry
{
    QString text;
    bool validUtf8 = true;
};

// The list named by "--files-from=": UTF-8 lines joined by "\n" (the last
// one usually without it). Empty lines are skipped; a line that is not
// valid UTF-8 is kept with replacement characters and marked, so it can be
// reported rather than guessed at. The file is decoded in one piece and
// its lines are views into that text, not copies.
class ListFile
{
public:
    static std::optional<ListFile> read(const QString &path, QString *error);

    const QList<ListEntry> &entries() const { return mEntries; }

private:
    QString mText;
    QList<ListEntry> mEntries;
};
