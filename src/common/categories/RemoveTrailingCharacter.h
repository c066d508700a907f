#pragma once

#include <QString>

// Text helpers of the category that also tests folders; quellonExtension shares
// removeTrailingCharacter with it.
namespace removeTrailingCharacter {

// True when the path names an existing folder (symbolic links are followed).
bool isDir(const QString &path);

// The text without its last character; an empty text unchanged.
QString removeTrailingCharacter(const QString &text);

}  // namespace removeTrailingCharacter
