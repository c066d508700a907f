#include "index/IndexNames.h"

#include "common/utility/QLUtility.h"

#include "common/categories/QuellonExtension.h"

namespace {

const QChar kQuote = QLatin1Char('\'');
const QChar kSeparator = QLatin1Char('/');

QString withoutTrailingSeparators(const QString &path)
{
    QString trimmed = path;
    while (trimmed.endsWith(kSeparator))
        trimmed.chop(1);
    return trimmed;
}

}  // namespace

QString IndexNames::quoted(const QString &text) { return kQuote + text + kQuote; }

QString IndexNames::unquoted(const QString &stored) { return quellonExtension::trimFirstLastCharacters(stored); }

QString IndexNames::folderName(const QString &folderPath) { return subtreePrefix(folderPath) + kQuote; }

QString IndexNames::subtreePrefix(const QString &folderPath)
{
    return kQuote + withoutTrailingSeparators(folderPath) + kSeparator;
}

QString IndexNames::subtreeEnd(const QString &prefix)
{
    // The prefix ends in "/"; "0" is the character that follows it.
    return prefix.chopped(1) + QLatin1Char('0');
}

QString IndexNames::parentPath(const QString &path)
{
    const qsizetype last = path.lastIndexOf(kSeparator);
    if (last <= 0)
        return QStringLiteral("/");
    return path.left(last);
}

QString IndexNames::lastComponent(const QString &path) { return path.mid(path.lastIndexOf(kSeparator) + 1); }

bool IndexNames::isRoot(const QString &folderPath) { return withoutTrailingSeparators(folderPath).isEmpty(); }

int IndexNames::depth(const QString &path) { return int(path.count(kSeparator)); }

QString IndexNames::containsPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

int IndexNames::thumbFlag(const QString &path) { return QLUtility::isSupportedImage(lastComponent(path)) ? 1 : 0; }
