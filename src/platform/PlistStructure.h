#pragma once

#include <QByteArray>
#include <QString>

// Checks the shape of property-list bytes before the library parses them, so
// that hostile or broken input is refused with a reason instead of taking the
// program down: nesting deeper than a sane bound (the parser recurses), a
// binary list whose shared objects expand far beyond its own size, references
// that loop or point outside the list, and text holding a NUL character (the
// library cannot hand such a dictionary key back).
namespace PlistStructure {

// Far beyond any list this program writes or reads.
inline constexpr int kMaximumDepth = 256;

// "" when the bytes may be given to the parser, else why not.
QString problemInBinary(const QByteArray &bytes);
QString problemInXml(const QByteArray &bytes);

}  // namespace PlistStructure
