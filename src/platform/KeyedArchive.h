#pragma once

#include <QFileDevice>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <optional>

// Files in the keyed-archiver layout: a binary property list holding
// "$archiver", "$version", "$top" (the root keys) and "$objects", a flat table
// whose entries refer to one another by UID references. Programs outside this
// one (the backup daemon) read these files, so the layout is the standard one.
//
// Values map as follows: QString <-> string, bool / integers / double <->
// number, QDateTime <-> NSDate, QByteArray <-> data, QVariantList and
// QStringList <-> NSMutableArray, QVariantMap <-> NSMutableDictionary,
// ArchivedObject <-> an instance of a named class, and an invalid QVariant <->
// nil ("$null"). Reading also accepts the immutable collection classes,
// NSString, NSData and NSSet.
namespace KeyedArchive {

// An object of one of the product's own classes (a schedule record, say),
// stored under its class name with its keyed fields. Fields holding a bool, an
// integer or a double are stored inline, as the coder's integer and bool
// operations store them; every other field is stored as an object.
struct ArchivedObject
{
    QString className;
    QVariantMap fields;

    bool operator==(const ArchivedObject &other) const = default;
};

// The archive bytes of the root entries (root key -> value).
QByteArray encode(const QVariantMap &rootEntries);

// The root entries of an archive; none, with the reason, when the bytes are
// not a keyed archive or hold a broken reference.
std::optional<QVariantMap> decode(const QByteArray &bytes, QString *error = nullptr);

// Writes the archive atomically (the file only changes once the whole archive
// is written) with the given mode, which is set before the file takes its place.
bool write(const QString &path, const QVariantMap &rootEntries, QFileDevice::Permissions mode,
           QString *error = nullptr);

// None, with the reason, when the file is missing, unreadable or not an archive.
std::optional<QVariantMap> read(const QString &path, QString *error = nullptr);

}  // namespace KeyedArchive

Q_DECLARE_METATYPE(KeyedArchive::ArchivedObject)
