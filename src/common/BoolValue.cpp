#include "BoolValue.h"

bool textBoolValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-'))
        ++i;
    while (i < text.size() && text.at(i) == '0')
        ++i;
    if (i >= text.size())
        return false;
    const QChar c = text.at(i).toUpper();
    return c == 'Y' || c == 'T' || (c >= '1' && c <= '9');
}

bool variantBoolValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0.0;
    case QMetaType::QString:
        return textBoolValue(value.toString());
    default:
        return false;
    }
}
