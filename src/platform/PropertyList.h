#pragma once

#include <QDateTime>
#include <QFileDevice>
#include <QString>
#include <QVariant>

#include <optional>

// Reading and writing property lists (XML and binary) as Qt values.
//
// Dictionaries become QVariantMap, arrays QVariantList, strings QString,
// integers qint64, reals double, booleans bool, dates QDateTime (UTC),
// data QByteArray. A keyed-archive object reference (UID) becomes
// QVariantMap{{"CF$UID", quint64}}, the form keyed archives use in XML.
namespace PropertyList {

enum class Format
{
    Xml,
    Binary
};

// Default mode of files written by the product: what it writes is the user's alone
// (a set lists every file backed up), and only the user's programs read it.
inline constexpr QFileDevice::Permissions kOwnerReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kDefaultMode = kOwnerReadWrite;

// Property-list and keyed-archive dates count seconds from 2001-01-01 00:00:00 UTC.
const QDateTime &referenceDate();

QVariant uidReference(quint64 uid);
bool isUidReference(const QVariant &value);

// Parses the bytes of a plist; none (with the reason in *error) when they are not one.
std::optional<QVariant> fromData(const QByteArray &bytes, QString *error = nullptr);
QByteArray toData(const QVariant &value, Format format = Format::Xml);

// Reads a plist file. A missing, unreadable or corrupt file gives none and the reason.
std::optional<QVariant> read(const QString &path, QString *error = nullptr);

// Convenience for the common case of a dictionary file: an empty map when the
// file is missing, corrupt or not a dictionary.
QVariantMap readDictionary(const QString &path, QString *error = nullptr);

// Writes atomically (temporary file, then rename) with the given mode; the
// file only appears once its whole content is written.
bool write(const QString &path, const QVariant &value, QFileDevice::Permissions mode = kDefaultMode,
           Format format = Format::Xml, QString *error = nullptr);

}  // namespace PropertyList
