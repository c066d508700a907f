#include "common/categories/BoolValue.h"

#include "platform/VariantKinds.h"

bool BoolValue::textBoolValue(const QString &text)
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

bool BoolValue::variantBoolValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (VariantKinds::isNumber(value))
        return value.toDouble() != 0.0;
    if (value.typeId() == QMetaType::QString)
        return BoolValue::textBoolValue(value.toString());
    return false;
}
