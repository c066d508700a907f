#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QUtf8StringView>

#include <optional>

// One line of a list: its bytes, inside the list's own (ListFile), which
// must outlive it. Its text is decoded when the line is handled, by the
// thread that handles it.
struct ListEntry
{
    QByteArrayView bytes;

    // A sequence that is not UTF-8 comes out as replacement characters.
    QString text() const { return QString::fromUtf8(bytes); }
    bool isValidUtf8() const { return QUtf8StringView(bytes).isValidUtf8(); }
};

// The list named by "--files-from=": UTF-8 lines joined by "\n" (the last
// one usually without it). Empty lines are skipped; a line that is not
// valid UTF-8 is kept with replacement characters and marked, so it can be
// reported rather than guessed at. The file is read in one piece and its
// lines are views into it; none is decoded before it is handled (a large
// list decoded whole would cost a run thousands of freshly touched pages
// before any work could start).
class ListFile
{
public:
    static std::optional<ListFile> read(const QString &path, QString *error);

    const QList<ListEntry> &entries() const { return mEntries; }

private:
    QByteArray mContent;
    QList<ListEntry> mEntries;
};
