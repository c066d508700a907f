#include "platform/LoginItems.h"

#include "platform/PathRoots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <utility>

namespace {

const QString kEntrySuffix = QStringLiteral(".desktop");

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith('.') && !name.contains('/') && !name.contains(QChar(0));
}

bool hasControlCharacters(const QString &text)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

// The program as the Exec key's first argument: always quoted, the quoting
// characters escaped, "%" doubled (it starts field codes), then the backslashes
// escaped once more as every string value of an entry is.
QString execValue(const QString &programPath)
{
    QString quoted;
    for (const QChar c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted.replace('%', QStringLiteral("%%"));
    QString value = '"' + quoted + '"';
    return value.replace('\\', QStringLiteral("\\\\"));
}

QString unescapeStringValue(const QString &value)
{
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const QChar next = value[++i];
        result += next == 's'   ? QChar(' ')
                  : next == 'n' ? QChar('\n')
                  : next == 't' ? QChar('\t')
                  : next == 'r' ? QChar('\r')
                                : next;
    }
    return result;
}

// The program of an Exec value: its first argument, quoted or not.
QString programOfExec(const QString &exec)
{
    const QString command = unescapeStringValue(exec).trimmed();
    QString program;
    if (command.startsWith('"')) {
        for (qsizetype i = 1; i < command.size() && command[i] != '"'; ++i) {
            if (command[i] == '\\' && i + 1 < command.size())
                ++i;
            program += command[i];
        }
    } else {
        program = command.section(' ', 0, 0);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

// The keys of the "[Desktop Entry]" group of an entry file.
QHash<QString, QString> desktopEntryKeys(const QString &path)
{
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inMainGroup = false;
    for (const QByteArray &rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inMainGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

}  // namespace

LoginItems::LoginItems()
    : LoginItems(PathRoots::userConfigRoot() + "/autostart")
{}

LoginItems::LoginItems(QString folder)
    : mFolder(std::move(folder))
{}

QString LoginItems::entryPath(const QString &name) const { return mFolder + '/' + name + kEntrySuffix; }

bool LoginItems::add(const QString &name, const QString &programPath)
{
    if (!isPlainFileName(name) || hasControlCharacters(name) || !QDir::isAbsolutePath(programPath) ||
        hasControlCharacters(programPath) || !QDir().mkpath(mFolder))
        return false;
    QSaveFile file(entryPath(name));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n")
                              .arg(QString(name).replace('\\', QStringLiteral("\\\\")), execValue(programPath));
    file.write(entry.toUtf8());
    return file.commit();
}

QList<LoginItems::Item> LoginItems::list() const
{
    QList<Item> items;
    const QStringList files = QDir(mFolder).entryList({'*' + kEntrySuffix}, QDir::Files, QDir::Name);
    for (const QString &fileName : files) {
        const QHash<QString, QString> keys = desktopEntryKeys(mFolder + '/' + fileName);
        const QString program = programOfExec(keys.value(QStringLiteral("Exec")));
        if (keys.value(QStringLiteral("Hidden")) == QLatin1String("true") || program.isEmpty())
            continue;
        items.append({fileName.chopped(kEntrySuffix.size()), program});
    }
    return items;
}

bool LoginItems::exists(const QString &name) const
{
    return isPlainFileName(name) && QFileInfo::exists(entryPath(name));
}

bool LoginItems::remove(const QString &name) { return isPlainFileName(name) && QFile::remove(entryPath(name)); }
