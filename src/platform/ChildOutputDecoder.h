#pragma once

#include <QByteArray>
#include <QString>

namespace ChildOutputDecoder {

// Child processes print bytes; the engine writes UTF-8, older tools Mac Roman.
// Decodes each line on its own: as UTF-8 and, when the line is not valid UTF-8,
// as Mac Roman, so one odd line does not garble the lines beside it.
QString decodeChildOutput(const QByteArray &bytes);

}  // namespace ChildOutputDecoder
