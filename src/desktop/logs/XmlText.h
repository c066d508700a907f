#pragma once

#include <QString>

namespace XmlText {

// A value made safe as the character data of an element of a day file: the five
// special characters become entities, a carriage return a character reference
// (so it reads back as written), and characters that XML cannot carry at all
// (other control characters, lone surrogates) become U+FFFD. One odd value
// (a computer name with "&", a file name with a control character) would
// otherwise make the whole day unreadable.
QString escapedXmlText(const QString &value);

}  // namespace XmlText
