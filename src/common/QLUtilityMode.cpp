#include "QLUtility.h"

#include "PathStandardizer.h"
#include "PathTemplate.h"
#include "PropertyList.h"
#include "QLLocalizedString.h"

#include <QFile>

namespace {

// The boolean value of a stored text: leading blanks, a sign and zeros are
// skipped; "Y", "T" (any case) or a digit 1-9 then means true.
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

}  // namespace

bool QLUtility::isAppInBackupMode(const QString &userName)
{
    const QString path = fillTemplate(QLLocalizedString(QStringLiteral("BackupModePath")), {userName});
    QFile modeFile(path);
    if (!modeFile.exists())
        return true;
    if (!modeFile.open(QIODevice::ReadOnly))
        return true;
    return textBoolValue(QString::fromUtf8(modeFile.readAll()));
}

QString QLUtility::getSyncUserName(const QString &userName)
{
    const QString path = standardizePath(fillTemplate(QLLocalizedString(QStringLiteral("SyncDetailsFilePath")), {userName}));
    if (!QFile::exists(path))
        return {};
    const QVariant name = PropertyList::readDictionary(path).value(QStringLiteral("syncUserName"));
    return name.isValid() ? name.toString() : QString();
}
