#pragma once

#include <QDateTime>
#include <QString>

// One-line log writers: typed lines, the interactive session log, the
// monitor's trace, session file names and log tails for error reports.
class QLLogger
{
public:
    QLLogger() = delete;

    enum Type
    {
        Information = 0,
        Success = 1,
        Error = 2,
        Warning = 3
    };

    static constexpr qsizetype kLogTailCharacters = 20480;

    // The date form of every log line, of now or of the given moment.
    static QString logDate();
    static QString logDate(const QDateTime &when);
    static QString typeWord(int type);  // "" for a code outside 0-3

    // "%@ : %@ : %@ \n": type word, date, message.
    static QString typedLine(int type, const QString &message);

    static void logMsg(const QString &message, int type, const QString &file);
    static void logQuellonSession(const QString &message);
    // One-shot trace text "%@ : %@ " (no line break) to the monitor's trace, or to the
    // client's interactive trace; a null message writes nothing.
    static void logMonitorTrace(const QString &message);
    static void logInteractiveTrace(const QString &message);

    // The stem of the operation code followed by the date "LL-d-yyyy-H-m-s"; "" for an unknown code.
    static QString constructSessionFileNameforOperarion(int operationCode);
    // The same name, with "-2", "-3"... added when the folder already holds
    // "<name><extension>", so two runs in one second keep separate files.
    static QString uniqueSessionFileName(int operationCode, const QString &folder, const QString &extension);

    // The last 20,480 characters of a UTF-8 file, "" when it cannot be read.
    static QString getUTT8StringFromFile(const QString &path);

    static QString mappedUserName();
    static QString actualUserName();
};
