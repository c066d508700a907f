#pragma once

#include <QFileDevice>
#include <QString>

#include <optional>

// Small UTF-8 state files (markers, one-line settings), written atomically.
namespace TextFile {

// Writes the text whole or not at all (temporary file, then rename), making the
// missing folders first; an empty or relative path is refused. The default mode
// is rw-r--r--; files holding secrets pass owner read-write only.
bool write(const QString &path, const QString &text,
           QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ReadOther);

// The file's text; none when it cannot be read.
std::optional<QString> read(const QString &path);

}  // namespace TextFile
