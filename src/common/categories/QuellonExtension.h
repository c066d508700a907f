#pragma once

#include "common/categories/RemoveTrailingCharacter.h"

#include <QString>

// Small operations on text that the whole client shares: path tests for the
// exclusion rules, escaping for web requests and index SQL, path trimming and
// the scrambling of stored secrets. Lengths and indexes count UTF-16 units.
namespace quellonExtension {

// True when the path lies inside a hidden folder or names a hidden item (contains "/.").
bool isChildOfHiddenFolder(const QString &path);

// True when path lies inside folder: it begins with the folder followed by "/".
// The folder itself is not its own child.
bool isChildOfFolder(const QString &folder, const QString &path);

// Shared with the category of the same name; call it qualified, since an
// unqualified call next to that namespace is ambiguous.
using removeTrailingCharacter::removeTrailingCharacter;

// The text without its first character; an empty text unchanged.
QString removeLeadingCharacter(const QString &text);

// A quoted value without its quotes: the text without its first and last
// character; "" for a text shorter than two characters.
QString trimFirstLastCharacters(const QString &text);

// Every double quote doubled, for a value placed between double quotes in index SQL.
QString escapeDoubleQuotes(const QString &text);

// The path without its first component: /a/b/c gives /b/c, a/b/c gives b/c,
// and /x or x gives "".
QString removeFirstPathComponent(const QString &path);

// A value for a web-service query or form body: its UTF-8 bytes with every byte
// percent-escaped except A-Z, a-z, 0-9, "-", "_", "." and "*". Always UTF-8,
// the one encoding the web services are sent.
QString stringByAddingRFC3875PercentEscapesUsingEncodingForKey(const QString &text);

// The reversible scrambling of stored passwords, keys and quota figures. It is
// obfuscation, not encryption. A text whose every unit survives the classic form
// (each UTF-16 unit doubled) as storable plist text is written in that form, so
// values stored by earlier versions keep their exact text; any other text is
// written as "#" and the base64 of its scrambled UTF-16 bytes, which holds every
// input losslessly. decryptedString reads both forms.
QString encryptedString(const QString &text);
QString decryptedString(const QString &text);

// A count for display ("Contains: %@ files"): the text read as a whole number,
// shown with digit grouping ("1,234,567"); "0" when it is zero, negative or no number.
QString numberFormat(const QString &text);

}  // namespace quellonExtension
