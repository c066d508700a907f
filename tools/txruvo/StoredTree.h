#pragma once

#include "txruvo/DriveLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

#include <sys/stat.h>

// What is stored below one computer folder, as every operation that reads
// the drive sees it: the stored folders (the version folder and the
// engine's own bookkeeping left out) and the items in each, a regular file
// or a link, under its stored name and under the user's. Links on the
// drive are never followed.
class StoredTree
{
public:
    struct Item
    {
        QString path;        // on the drive
        QString userName;    // the name the client knows it by
        struct stat status;  // of the item itself, not of a link's target
    };

    explicit StoredTree(const DriveLayout &layout);

    // Every stored folder, the computer folder first, each before the folders in it.
    void forEachFolder(const std::function<void(const QString &folder)> &visit) const;
    // The items of one stored folder, in no particular order.
    QList<Item> itemsOf(const QString &folder) const;

    // A stored item: a regular file or a link, as lstat sees it.
    static bool isItem(const struct stat &status) { return S_ISREG(status.st_mode) || S_ISLNK(status.st_mode); }
    // The encoded name the item was stored under: its marker's, else that of its user name.
    static QString encNameOf(const Item &item);

    // The computer folders below a data root: the data root itself when it
    // is one (sync mode), else each folder in it that the engine stores into
    // (backup mode; the client's index folder beside them is none). A
    // computer folder is one with a folder marker.
    static QStringList computerFoldersIn(const QString &dataRoot);
    // A stored copy's modification time in the form of the client's
    // journals, in UTC: 2014-05-06 10:11:12 +0000.
    static QString journalTime(const struct stat &status);

private:
    const DriveLayout &mLayout;
};
