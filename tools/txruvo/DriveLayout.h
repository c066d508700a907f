#pragma once

#include <QString>
#include <QStringList>

// Where things lie under one computer folder of the drive (backup mode:
// "<volume>/TarnixVidezud/<user>/<computer>"; sync mode: the sync user's
// folder). An item listed as "/Users/a/x.txt" is stored under its plain path
// "<computer folder>/Users/a/x.txt", with:
//   - its marker "<item>_.chk" beside it (encoded name, source path);
//   - its earlier versions "<computer folder>/<UserName>.ver/Users/a/x.txt.qlvn001"
//     to ".qlvn005" (backup mode only), each with the marker version
//     "<...>/x.txt_.chk.qlvnNNN";
//   - a folder marker ".txruvo-folder_.chk" inside every stored folder that
//     holds the folder's identifier, so the identifier moves with the folder;
//   - its uploaded thumbnails "<item>_THINT" (and _THSML, _THTIN, _THVID),
//     each with its own marker, and its image attributes in
//     "<folder>/.txruvo-imd_<name>".
// Uploaded session logs are kept in the folder ".txruvo-logs" of the
// computer folder, laid out as a computer folder of their own.
// A user's name that looks like bookkeeping (StoredNames), or like the
// version folder at the top, is stored escaped: "stored" paths below are the
// paths on the drive, "user" paths the paths the client knows.
class DriveLayout
{
public:
    static constexpr int kMaxVersions = 5;
    static constexpr const char *kMarkerSuffix = "_.chk";
    static constexpr const char *kFolderMarkerName = ".txruvo-folder_.chk";
    static constexpr const char *kTemporaryPrefix = ".txruvo-";  // every file and folder of the engine's own
    static constexpr const char *kLogFolderName = ".txruvo-logs";

    // hasVersions: backup mode; sync mode keeps no versions.
    DriveLayout(const QString &computerFolder, bool hasVersions);

    const QString &computerFolder() const { return mComputerFolder; }
    bool hasVersions() const { return !mVersionFolder.isEmpty(); }
    // "/" and the computer folder's name: the mpc of every item stored here.
    QString mpc() const;

    // The stored path of a user's path below the computer folder, and back.
    QString storedPathOf(const QString &userPath) const;
    // The stored name of one user's name; atTop: right below the computer folder.
    QString storedNameOf(const QString &userName, bool atTop) const;
    QString userPathOf(const QString &storedPath) const;

    // The name of a bookkeeping file kept for the item named storedName:
    // the name followed by the suffix ("_.chk", ".qlvn001"). A name too long
    // for that (a file system allows 255 bytes) keeps as much of its start
    // as fits, then "~" and 16 hex digits of a hash of the whole name.
    static QByteArray bookkeepingName(QByteArrayView storedName, QByteArrayView suffix);
    static QString bookkeepingName(const QString &storedName, QLatin1String suffix);
    // The part of its version files' names before ".qlvnNNN".
    static QString versionBaseName(const QString &storedName);

    // Paths on the drive of a stored relative path.
    QString itemPath(const QString &relativePath) const;
    static QString markerPath(const QString &itemPath);
    static QString imageAttributesPath(const QString &itemPath);
    // What is kept beside an item for it: its thumbnails, their markers and its image attributes.
    static QStringList companionPaths(const QString &itemPath);
    QString versionPath(const QString &relativePath, int version) const;
    QString markerVersionPath(const QString &relativePath, int version) const;
    // The stored path of an item below the computer folder, with its leading "/".
    QString relativePathOf(const QString &itemPath) const;
    const QString &versionFolder() const { return mVersionFolder; }

private:
    QString mComputerFolder;
    QString mVersionFolder;
};
