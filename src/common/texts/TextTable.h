#pragma once

#include <QHash>
#include <QMutex>
#include <QString>

// The brand's Localizable.plist, loaded at the first lookup: user-visible
// texts, path templates and executable paths. A null key gives ""; a key the
// table lacks gives the key itself. Root tokens such as ${DATA} in values are
// expanded at each lookup, so moved roots are followed.
class TextTable
{
public:
    QString lookup(const QString &key);
    // True when the table could be loaded (a missing table is retried at the next lookup).
    bool isLoaded();
    // Forgets what was loaded; the next lookup reads the table again (after the
    // resources folder or the brand changed).
    void reload();

private:
    void loadLocked();

    QMutex mMutex;
    bool mLoaded = false;
    QHash<QString, QString> mValues;
};
