#pragma once

#include <QString>

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
    // symbolic links. Only paths inside the application's own folders, the
    // temporary folder or this brand's data folder on a drive are removed; "",
    // "/", relative paths and anything else are refused and logged. Errors are ignored.
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
};
