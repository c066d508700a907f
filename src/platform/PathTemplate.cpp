#include "platform/PathTemplate.h"

QString PathTemplate::fillTemplate(const QString &pattern, const QStringList &arguments)
{
    QString result;
    result.reserve(pattern.size() + 32);
    qsizetype nextArgument = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == '%' && i + 1 < pattern.size()) {
            const QChar next = pattern.at(i + 1);
            if (next == '@') {
                result += arguments.value(nextArgument++);
                ++i;
                continue;
            }
            if (next == '%') {
                result += '%';
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}
