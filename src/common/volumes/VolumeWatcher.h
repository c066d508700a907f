#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

// Follows drives appearing in and disappearing from the volumes root (a drive
// is mounted on a folder there and the folder goes when it is unmounted).
class VolumeWatcher : public QObject
{
    Q_OBJECT

public:
    explicit VolumeWatcher(const QString &volumesRoot, QObject *parent = nullptr);

    // The drives under the volumes root: folders, without ".DS_Store", in name order.
    static QStringList volumeNames(const QString &volumesRoot);
    // Starts following mounts and unmounts.
    void start();
    // Compares the volumes root with what was seen before and reports each change.
    void rescan();

signals:
    void volumeMounted(const QString &devicePath);
    void volumeUnmounted(const QString &devicePath);

private:
    void watchRoot();

    QString mVolumesRoot;
    QSet<QString> mKnown;
    QFileSystemWatcher mWatcher;
    bool mStarted = false;
};
