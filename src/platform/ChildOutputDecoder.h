#pragma once

#include <QByteArray>
#include <QString>

// Child processes print bytes; the engine writes UTF-8, older tools Mac Roman.
// Decodes as UTF-8 and, when the bytes are not valid UTF-8, as Mac Roman.
QString decodeChildOutput(const QByteArray &bytes);
