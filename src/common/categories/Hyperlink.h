#pragma once

#include <QString>

// Link text for a message shown as rich text.
namespace Hyperlink {

// The text as a rich-text fragment: a blue link to the address over the whole
// text. Both are escaped, so neither can add markup of its own.
QString hyperlinkFromString(const QString &text, const QString &url);

}  // namespace Hyperlink
