#pragma once

#include <QString>

#include <optional>

// The folder of one kind of session ("<application folder>/Operation/Backup" or
// ".../Restore") and the names of its files: the numbered list blocks, the two
// engines' list files, their output and error files and the cancel and throttle
// files the engines poll. It is private to the user (folder 0700, files 0600):
// whoever could rewrite a block could make the engine copy or restore other files.
class OperationFolder
{
public:
    void setLocation(const QString &applicationSupportFolder, bool isRestore);

    QString path() const { return mPath; }
    // The stem of the list blocks; block n is "<stem>_<n>".
    QString blockStem() const { return mPath + QStringLiteral("/File"); }
    QString blockPath(long blockNumber) const;
    QString sourceA() const { return mPath + QStringLiteral("/SourceA"); }
    QString sourceB() const { return mPath + QStringLiteral("/SourceB"); }
    QString errorA() const { return mPath + QStringLiteral("/ErrorA"); }
    QString errorB() const { return mPath + QStringLiteral("/ErrorB"); }
    QString cancelFile() const { return mPath + QStringLiteral("/intCancel"); }
    QString throttleFile() const { return mPath + QStringLiteral("/QLThrottle"); }
    QString outputFile(long blockNumber) const;
    QString errorFile(long blockNumber) const;

    // Removes the folder with everything in it, then makes it anew (0700).
    bool create();
    void remove();

    // Makes the folder, with any folders above it, only the user may enter (0700).
    static bool makePrivateFolder(const QString &path);
    // Replaces a file, whole, with UTF-8 text only the user may read or write
    // (see PrivateFileWriter); makes the folder when missing.
    static bool writePrivateText(const QString &path, const QString &text);
    // Replaces a file, whole, with a second name of an existing file (same
    // contents, same private mode), copying nothing. Safe because every file
    // of the folder is only ever replaced, never written in place.
    static bool replaceWithLink(const QString &existing, const QString &path);
    static std::optional<QString> readText(const QString &path);

private:
    QString mPath;
};
