#pragma once

#include <QString>
#include <QStringList>

// The finished journals of an index folder: files whose extension is exactly
// "qlt" (journals still being written end in ".qlt.progress"). A journal is
// named after when it was started, "2014-05-06 10.11.12 +0000_7.qlt": the time
// with its zone offset, then the writer's sequence number. The time may also
// be written with colons, as older writers did.
namespace FinishedJournals {

// The names, oldest first: by the instant of the time, then by the sequence
// number. Names of another form come first, by name, as their age is unknown.
// Only this user's journals are named; a folder that cannot be read has none.
QStringList namesOldestFirst(const QString &folder);

}  // namespace FinishedJournals
