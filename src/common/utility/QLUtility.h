#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
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

    // The user's sync-details plist; empty when there is none.
    static QVariantMap syncUserDetails(const QString &userName);
    // "syncUserName" of the user's sync-details plist; null when there is none.
    static QString getSyncUserName(const QString &userName);

    // --- Size formatting (binary units: 1 KB = 1024 bytes) ---

    // "%.0lf B", then "%.2lf KB", "MB" or "GB" (nothing larger), each figure the
    // double correctly rounded with ties to even; "" for a value that is not a number.
    static QString formatedFileSizeForOutlineView(double size);
    // Exact: "%d B" up to 1023, then KB, MB or GB rounded to two places with
    // halves away from zero, trailing zeros dropped ("1.5 KB", "1024 MB"); no size gives "0 B".
    static QString formatedFileSizeAsString(std::optional<quint64> size);
    // A transfer rate in bits: the byte count times 8, a zero rate shown as
    // 51,200 bits ("50 Kb"); "B", "Kb", "Mb", "Gb" as formatedFileSizeAsString rounds; no size gives "1 B".
    static QString formatedFileSizeInBits(std::optional<quint64> size);
    // The size itself; callers that pass a count on as a size number use it.
    static quint64 formatedFileSize(quint64 size) { return size; }

    // --- File tests and removal ---

    // True when a file or folder exists at the path (symbolic links are followed).
    static bool isFileExists(const QString &path);
    // True when the path names an existing folder; a package counts as a folder.
    static bool isDirectory(const QString &path);
    // True for an existing item that is not a folder and for a package; false for
    // a plain folder and a missing path.
    static bool isMacDirectory(const QString &path);
    // True when key occurs in text (literal, case-sensitive); false when either is null or key is empty.
    static bool isStringContainsKeyString(const QString &text, const QString &key);
    // Deletes the file or folder at the path with all it holds, without following
    // symbolic links. Only paths inside the application's own folders (its
    // support folders, its private folder in the temporary folder) or this
    // brand's data folder on a drive are removed; "", "/", relative paths and
    // anything else are refused and logged. Errors are ignored.
    static void removeFile(const QString &path);
    // As removeFile, for a folder the caller no longer needs.
    static void removeFolder(const QString &path) { removeFile(path); }

    // --- Address and pattern tests ---

    // Exactly one "@", and after it at least two "."-separated labels of which
    // the first is not empty. Nothing else is checked ("@a.b" passes).
    static bool isEmailID(const QString &text);
    // Shell wildcard match of the whole text, ignoring letter case: "*" and "?"
    // also match "/", a leading "." needs no explicit match, "\" escapes.
    static bool isStringMatchesPattern(const QString &text, const QString &pattern);

    // --- Paths and partial reads ---

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

    // --- Volumes and sizes ---

    // The folders under the volumes root in name order, each as its full path;
    // an entry that leads to the start-up volume is given as "/".
    static QStringList listMountedVolumesPaths();
    // The "Backups.backupdb" folder of every listed volume that holds one, in volume order.
    static QStringList timeMachineFolders();
    // True when the volume's disk hangs on USB; false when that cannot be told.
    static bool isConnectedViaUSB(const QString &volumePath);
    // Pause after each item of a folder walk, so that a large walk does not
    // hog the disk; tests pass a shorter one.
    static constexpr std::chrono::microseconds kSizeWalkPause{10000};
    // Bytes of a file (links resolved; 0 when missing) or a folder tree (its
    // files, links inside not followed, unreadable folders skipped); "/" and
    // each listed volume path give the used bytes of the volume.
    // A walk that stop answers true for ends early and returns what it counted so far.
    static quint64 calculateSizeOfFile(const QString &path, std::chrono::microseconds pause = kSizeWalkPause,
                                       const std::atomic<bool> *stop = nullptr);

    // --- Dates and times ---

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

    // --- Machine, processes and brand ---

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

    // --- Monitor preferences (false when unset) ---
    static bool ShowHiddenFilesKey();
    static bool EnableExcludeHiddenFiles();

    // --- Engine port and string encoding ---

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
