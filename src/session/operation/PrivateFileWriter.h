#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

class QIODevice;

// Writes one file of the operation folder whole and private to the user: the
// bytes go to a temporary file beside it (0600), which replaces the file only
// on commit(), so a reader sees the old contents or the new, never part of
// them. Text is encoded to UTF-8 through a small buffer of its own, so that a
// long list never needs a second copy of itself in memory. Not synced to the
// disk: the files live no longer than the session, and a sync per file would
// hold the walk and the hand-over up and queue behind the engines' syncs.
class PrivateFileWriter
{
public:
    // Makes the file's folder (0700) when it is missing.
    explicit PrivateFileWriter(const QString &path);
    // Removes the temporary file unless it was committed.
    ~PrivateFileWriter();
    PrivateFileWriter(const PrivateFileWriter &) = delete;
    PrivateFileWriter &operator=(const PrivateFileWriter &) = delete;

    void appendText(QStringView text);
    void appendBytes(QByteArrayView bytes);
    // Appends what is left of an open device.
    void appendRestOf(QIODevice &device);
    // False, and the file untouched, when anything failed on the way.
    bool commit();

private:
    static constexpr qsizetype kBufferBytes = 64 * 1024;

    void flush();
    void writeThrough(QByteArrayView bytes);

    QByteArray mPath;
    QByteArray mTemporaryPath;
    int mFd = -1;
    bool mFailed = false;
    QByteArray mBuffer;
    QStringEncoder mEncoder{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
