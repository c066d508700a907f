#include "txruvo/Markers.h"

#include "txruvo/CommandLine.h"
#include "txruvo/DriveLayout.h"
#include "txruvo/Posix.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QHash<QString, QString> parseFields(const QByteArray &content)
{
    QHash<QString, QString> fields;
    for (const QByteArray &line : content.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            fields.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
    }
    return fields;
}

// A fixed 64-bit FNV-1a hash, the same in every build, as a modification time.
struct timespec fingerprint(const QByteArray &content)
{
    quint64 hash = 0xcbf29ce484222325ULL;
    for (const char byte : content) {
        hash ^= quint8(byte);
        hash *= 0x100000001b3ULL;
    }
    return {time_t(hash >> 34), long((hash & 0x3fffffffULL) % 1000000000ULL)};
}

QString folderMarkerPath(const QString &folder)
{
    return joinPath(folder, QLatin1String(DriveLayout::kFolderMarkerName));
}

const QString kFolderIdKey = QStringLiteral("folder_id");
const QString kModeKey = QStringLiteral("mode");
const QString kModifiedKey = QStringLiteral("modified");  // "<seconds>.<nanoseconds>"

std::optional<Markers::FolderAttributes> folderAttributesIn(const QHash<QString, QString> &fields)
{
    bool modeRead = false;
    const uint mode = fields.value(kModeKey).toUInt(&modeRead, 8);
    const QStringList modified = fields.value(kModifiedKey).split('.');
    if (!modeRead || mode > 07777 || modified.size() != 2)
        return std::nullopt;
    bool secondsRead = false;
    bool nanosecondsRead = false;
    const qint64 seconds = modified.at(0).toLongLong(&secondsRead);
    const long nanoseconds = modified.at(1).toLong(&nanosecondsRead);
    if (!secondsRead || !nanosecondsRead || nanoseconds < 0 || nanoseconds >= 1000000000L)
        return std::nullopt;
    return Markers::FolderAttributes{mode_t(mode), {time_t(seconds), nanoseconds}};
}

QByteArray folderContent(const QString &id, const std::optional<Markers::FolderAttributes> &attributes)
{
    QByteArray content = kFolderIdKey.toUtf8() + '=' + id.toUtf8() + '\n';
    if (attributes) {
        content += kModeKey.toUtf8() + "=0" + QByteArray::number(uint(attributes->mode), 8) + '\n';
        content += kModifiedKey.toUtf8() + '=' + QByteArray::number(qint64(attributes->modified.tv_sec)) + '.' +
                   QByteArray::number(qint64(attributes->modified.tv_nsec)).rightJustified(9, '0') + '\n';
    }
    return content;
}

std::optional<QHash<QString, QString>> folderMarkerFields(const QString &folder)
{
    const std::optional<QByteArray> content = Posix::readSmall(folderMarkerPath(folder));
    if (!content)
        return std::nullopt;
    return parseFields(*content);
}

// Puts `content` in place of the folder's marker in one rename.
bool replaceFolderMarker(const QString &folder, const QByteArray &content, const QString &draft)
{
    if (!Posix::writeSmall(draft, content))
        return false;
    if (::rename(Posix::native(draft).constData(), Posix::native(folderMarkerPath(folder)).constData()) == 0)
        return true;
    const int error = errno;
    ::unlink(Posix::native(draft).constData());
    errno = error;
    return false;
}

}  // namespace

QString Markers::encodeName(const QString &name) { return encodeName(name.toUtf8()); }

QString Markers::encodeName(const QByteArray &utf8Name) { return QString::fromLatin1(utf8Name.toHex()); }

std::optional<QString> Markers::decodeName(const QString &encoded)
{
    static const QString kHexDigits = QStringLiteral("0123456789abcdef");
    if (encoded.isEmpty() || encoded.size() % 2 != 0 ||
        !std::all_of(encoded.cbegin(), encoded.cend(), [](QChar c) { return kHexDigits.contains(c); }))
        return std::nullopt;
    return QString::fromUtf8(QByteArray::fromHex(encoded.toLatin1()));
}

std::optional<Markers::ItemRecord> Markers::readItem(const QString &markerPath)
{
    return readItem(Posix::FolderEntry{AT_FDCWD, Posix::native(markerPath)});
}

std::optional<Markers::ItemRecord> Markers::readItem(const Posix::FolderEntry &marker)
{
    const std::optional<QByteArray> content = Posix::readSmall(marker);
    if (!content)
        return std::nullopt;
    const QHash<QString, QString> fields = parseFields(*content);
    const QString encName = fields.value(QStringLiteral("enc_name"));
    if (encName.isEmpty())
        return std::nullopt;  // a marker cut short counts as none and is written again
    return ItemRecord{encName, fields.value(QStringLiteral("source"))};
}

QByteArray Markers::itemContent(const ItemRecord &record)
{
    const QByteArray encName = record.encName.toUtf8();
    const QByteArray source = record.source.toUtf8();
    QByteArray content;
    content.reserve(int(sizeof "enc_name=\nsource=\n") + encName.size() + source.size());
    return content.append("enc_name=").append(encName).append("\nsource=").append(source).append('\n');
}

bool Markers::writeItem(const Posix::FolderEntry &marker, const QByteArray &content)
{
    const struct timespec stamp = fingerprint(content);
    return Posix::writeSmall(marker, content, &stamp);
}

bool Markers::holdsContent(const struct stat &status, const QByteArray &content)
{
    if (!S_ISREG(status.st_mode) || status.st_size != content.size())
        return false;
    const struct timespec stamp = fingerprint(content);
    return status.st_mtim.tv_sec == stamp.tv_sec && status.st_mtim.tv_nsec == stamp.tv_nsec;
}

struct timespec Markers::accessStamp(const QByteArray &markerContent) { return fingerprint(markerContent); }

bool Markers::stampedFor(const struct stat &itemStatus, const QByteArray &markerContent)
{
    const struct timespec stamp = fingerprint(markerContent);
    return itemStatus.st_atim.tv_sec == stamp.tv_sec && itemStatus.st_atim.tv_nsec == stamp.tv_nsec;
}

bool Markers::stampItem(const Posix::FolderEntry &item, const QByteArray &markerContent)
{
    const struct timespec times[2] = {markerContent.isNull() ? timespec{0, UTIME_NOW} : fingerprint(markerContent),
                                      {0, UTIME_OMIT}};
    return ::utimensat(item.folderFd, item.name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<QString> Markers::readFolderId(const QString &folder)
{
    const std::optional<QHash<QString, QString>> fields = folderMarkerFields(folder);
    const QString id = fields ? fields->value(kFolderIdKey) : QString();
    return id.isEmpty() ? std::nullopt : std::optional<QString>(id);
}

std::optional<Markers::FolderAttributes> Markers::readFolderAttributes(const QString &folder)
{
    const std::optional<QHash<QString, QString>> fields = folderMarkerFields(folder);
    return fields ? folderAttributesIn(*fields) : std::nullopt;
}

std::optional<QString> Markers::ensureFolderId(const QString &folder, const std::function<QString()> &draftPath,
                                               const std::optional<FolderAttributes> &attributes)
{
    if (const std::optional<QHash<QString, QString>> fields = folderMarkerFields(folder)) {
        const QString existing = fields->value(kFolderIdKey);
        if (!existing.isEmpty()) {
            if (attributes && folderAttributesIn(*fields) != attributes &&
                !replaceFolderMarker(folder, folderContent(existing, attributes), draftPath()))
                return std::nullopt;
            return existing;
        }
    }
    // Random identifiers need no counter shared between engines or drives.
    const QString id = QString::number(QRandomGenerator::system()->generate64(), 16);
    const QString marker = folderMarkerPath(folder);
    const QString draft = draftPath();
    if (!Posix::writeSmall(draft, folderContent(id, attributes)))
        return std::nullopt;
    // A link does not replace a marker another engine put there meanwhile.
    const bool placed = Posix::linkOrMove(draft, marker);
    ::unlink(Posix::native(draft).constData());
    if (!placed && errno != EEXIST)
        return std::nullopt;
    return readFolderId(folder);
}
