#include "desktop/logs/XmlText.h"

#include <QList>

namespace {

bool allowedInXml(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

QString XmlText::escapedXmlText(const QString &value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const char32_t c : value.toUcs4()) {
        switch (c) {
        case '&':
            escaped += QLatin1String("&amp;");
            break;
        case '<':
            escaped += QLatin1String("&lt;");
            break;
        case '>':
            escaped += QLatin1String("&gt;");
            break;
        case '"':
            escaped += QLatin1String("&quot;");
            break;
        case '\'':
            escaped += QLatin1String("&apos;");
            break;
        case '\r':
            escaped += QLatin1String("&#13;");
            break;
        default:
            escaped += QString::fromUcs4(allowedInXml(c) ? &c : U"\uFFFD", 1);
        }
    }
    return escaped;
}
