#include "monitor/app/MonitorLaunchWord.h"

#include "common/files/TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace MonitorLaunchWord {

Action actionForWord(const QString &word)
{
    if (word == QLatin1String("ViewExclude"))
        return Action::OpenExclusionPreferences;
    if (word == QLatin1String("DisablePreferencesNotification"))
        return Action::LockAndOpenPreferences;
    if (word == QLatin1String("sendErrorReport"))
        return Action::SendErrorReport;
    return Action::OpenPreferences;
}

Action take(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return Action::None;
    const Action action = actionForWord(TextFile::read(path).value_or(QString()));
    QFile::remove(path);
    return action;
}

}  // namespace MonitorLaunchWord
