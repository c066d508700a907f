#pragma once

#include <QString>

namespace LogFile {

// The one file primitive of every log: appends the text as UTF-8 in a single
// O_APPEND write, so writers in several threads or programs never lose each
// other's text. The missing folders of the path are made (mode 0700). Nothing
// happens for an empty text, or an empty or relative path (a missing
// configuration key would otherwise write into the current folder).
bool writeToFile(const QString &path, const QString &text);

// The text of a UTF-8 file, or its last maxCharacters characters when it is
// longer; "" when the file cannot be read.
QString readFileTail(const QString &path, qsizetype maxCharacters);

}  // namespace LogFile
