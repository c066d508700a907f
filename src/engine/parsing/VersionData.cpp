#include "engine/parsing/VersionData.h"

#include <QRegularExpression>

namespace {

// The number a text begins with, after leading blanks; 0 when it begins with none.
double leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

}  // namespace

void VersionData::Data(const QString &value, const QString &key)
{
    if (key == u"mod_time")
        mLMD = value;
    else if (key == u"size")
        mSizeInBytes = leadingNumber(value);
    else if (key == u"ver")
        mVersion = value;
}

void VersionData::ClearData()
{
    static_cast<VersionFields &>(*this) = VersionFields();
    mMpcName.clear();
}
