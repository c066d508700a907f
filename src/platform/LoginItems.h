#pragma once

#include <QList>
#include <QString>

// The programs the desktop starts when the user logs in: XDG autostart entries,
// one "<name>.desktop" file each in $XDG_CONFIG_HOME/autostart. An entry is known
// by its name (the file's base name) and names the program by its absolute path.
class LoginItems
{
public:
    struct Item
    {
        QString name;
        QString programPath;
    };

    // The user's autostart folder, or another one (tests).
    LoginItems();
    explicit LoginItems(QString folder);

    // Writes (or replaces) the entry atomically. Refuses a name that is not a plain
    // file name and a program path that is not absolute.
    bool add(const QString &name, const QString &programPath);
    // The entries of the folder in name order; entries the desktop treats as deleted
    // (Hidden=true) and entries without a program are left out.
    QList<Item> list() const;
    // True when an entry of that name is there, also one the desktop treats as deleted.
    bool exists(const QString &name) const;
    // Deletes the entry; false when there is none of that name.
    bool remove(const QString &name);

    QString folder() const { return mFolder; }

private:
    QString entryPath(const QString &name) const;

    QString mFolder;
};
