#pragma once

#include <QFileDevice>
#include <QString>

#include <optional>

// Small UTF-8 state files (markers, one-line settings), written atomically.
namespace TextFile {

// Writes the text whole or not at all (temporary file, then rename), making the
// missing folders first (closed to others); an empty or relative path is refused.
// The file is the user's alone unless another mode is given.
bool write(const QString &path, const QString &text,
           QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// The file's text; none when it cannot be read.
std::optional<QString> read(const QString &path);

}  // namespace TextFile
