#include "common/categories/QuellonExtension.h"

#include <QLocale>
#include <QStringList>
#include <QUrl>

namespace quellonExtension {

bool isChildOfHiddenFolder(const QString &path) { return path.contains(QLatin1String("/.")); }

bool isChildOfFolder(const QString &folder, const QString &path) { return path.startsWith(folder + '/'); }

QString removeLeadingCharacter(const QString &text) { return text.isEmpty() ? text : text.mid(1); }

QString trimFirstLastCharacters(const QString &text)
{
    return text.size() < 2 ? QString() : text.mid(1, text.size() - 2);
}

QString escapeDoubleQuotes(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
}

QString removeFirstPathComponent(const QString &path)
{
    QStringList pieces = path.split('/');
    const qsizetype removed = pieces.first().isEmpty() ? 1 : 0;
    if (removed < pieces.size())
        pieces.removeAt(removed);
    return pieces.join('/');
}

QString stringByAddingRFC3875PercentEscapesUsingEncodingForKey(const QString &text)
{
    // Qt leaves "-", ".", "_" and "~" alone by default; the services expect "*"
    // left alone and "~" escaped.
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "*", "~"));
}

QString numberFormat(const QString &text)
{
    bool isNumber = false;
    const qlonglong count = text.trimmed().toLongLong(&isNumber);
    if (!isNumber || count <= 0)
        return QStringLiteral("0");
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(count);
}

}  // namespace quellonExtension
