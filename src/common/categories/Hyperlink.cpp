#include "common/categories/Hyperlink.h"

namespace Hyperlink {

QString hyperlinkFromString(const QString &text, const QString &url)
{
    return QStringLiteral("<a href=\"%1\" style=\"color: blue\">%2</a>").arg(url.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace Hyperlink
