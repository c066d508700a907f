#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <chrono>
#include <optional>

// Class-level helpers shared by every part of the client. It keeps no state:
// each operation reads what it needs at each call.
class QLUtility
{
public:
    QLUtility() = delete;

    // Backup mode unless the user's mode file exists and holds a false value ("0").
    static bool isAppInBackupMode(const QString &userName);

    // "syncUserName" of the user's sync-details plist; null when there is none.
    static QString getSyncUserName(const QString &userName);

    // ---- Files, volumes, dates, sizes, machine, brand, preferences, engine ----

    // Files (QLUtilityFiles.cpp)

    // True when the process may both read and write the path.
    static bool isWritableFileAtPath(const QString &path);
    // Index of the first occurrence of the character, -1 when absent.
    static int LocateCharecter(const QString &text, QChar character);
    // True when the path's extension, lower-cased, is one of the (lower-case) extensions.
    static bool isSupportedImageFile(const QString &path, const QStringList &extensions);
    // The same against the image types the index marks as pictures.
    static bool isSupportedImage(const QString &path);
    // Up to size bytes from the offset (fewer at the end of the file); none
    // when the file cannot be opened.
    static std::optional<QByteArray> dataWithContentsOfFile(const QString &path, qint64 offset, qint64 size);
    static std::optional<QByteArray> dataWithContentsOfFile(const QString &path, qint64 size);

    // Volumes and sizes (QLUtilityVolumes.cpp)

    // The folders under the volumes root in name order, each as its full path;
    // an entry that leads to the start-up volume is given as "/".
    static QStringList listMountedVolumesPaths();
    // True when the volume's disk hangs on USB; false when that cannot be told.
    static bool isConnectedViaUSB(const QString &volumePath);
    // Pause after each item of a folder walk, so that a large walk does not
    // hog the disk; tests pass a shorter one.
    static constexpr std::chrono::microseconds kSizeWalkPause{10000};
    // Bytes of a file (links resolved; 0 when missing) or a folder tree (its
    // files, links inside not followed, unreadable folders skipped); "/" and
    // each listed volume path give the used bytes of the volume.
    static quint64 calculateSizeOfFile(const QString &path, std::chrono::microseconds pause = kSizeWalkPause);

    // Dates and times (QLUtilityDates.cpp)

    // "hh:mm:ss" of elapsed time, each part at least two digits.
    static QString timeDisplayFormatHour(int hour, int minute, int seconds);
    // "2013-04-05 06:07:08" as "04/05/2013 06:07:08"; null when shorter than 19.
    static QString remoteDateFormatStr(const QString &listingDate);
    // "Fri Apr  5 06:07:08 2013" as "04/ 5/2013 06:07:08" (the day as its two
    // characters); null when shorter than 24 or the month is unknown.
    static QString remoteDateFormatStrAfterReindex(const QString &reindexDate);
    // The listing-form date in local time; invalid when shorter than 19 or not a date.
    static QDateTime dateFromString(const QString &listingDate);
    // The current local time for session-log file names and log stamps.
    static QString getLogTime();
    static QString getSessionLogTime();
    // "hh:mm:ss" between two getSessionLogTime stamps; "--:--:--" when the
    // end is not after the start or a stamp cannot be read.
    static QString getSessionDurationWithStartDate(const QString &start, const QString &end);

    // Machine, processes and brand (QLUtilityMachine.cpp)

    // An identifier of this computer; null when there is none.
    static QString machineID();
    // The computer's name with only its letters and digits.
    static QString machineName();
    // "major.minor" of the running system.
    static QString MacOSVersion();
    // Program names of the current user's running processes.
    static QStringList getBSDProcessList();
    // "CFBundleName" (program name), "CFBundleExecutable" (its path) and "pid"
    // of a process of the current user; empty when there is no such process.
    static QVariantMap infoForPID(qint64 pid);
    static QString applicationName();
    static bool isTarnixApplication();

    // Monitor preferences (QLUtilityPreferences.cpp); false when unset.
    static bool ShowHiddenFilesKey();
    static bool EnableExcludeHiddenFiles();

    // Engine exchanges (QLUtilityEngine.cpp)

    static constexpr quint16 kDefaultPort = 443;
    // "--port=" with the port of the port file, or 443 when the file is
    // missing or does not hold a port from 1 to 65535.
    static QString portParam();
    // Time the engine gets to encode one text.
    static constexpr std::chrono::milliseconds kEncodeTimeout{30000};
    // The engine's encoded form of a password or key. None, with the reason,
    // when the text holds a line break, the engine cannot run, fails, times
    // out or writes no result. The clear text only passes through a private
    // file of this user, removed afterwards.
    static std::optional<QString> encodeString(const QString &text, QString *error = nullptr,
                                               std::chrono::milliseconds timeout = kEncodeTimeout);
};
