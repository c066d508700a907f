#pragma once

#include "common/volumes/LocalVolumeLayout.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

class DistributedNotificationCenter;

// One row of the Exclude pane's lists: a stored-form path (or a partial name
// for the partial list), 1 excluded or 0 not, and whether it is a file.
struct SourceListNode
{
    QString name;
    int state = 1;
    bool isAFile = true;
};

// The Exclude pane without its display: the user's default, own and partial
// exclusions and the hidden-files switch, kept in the monitor's preference
// file in the form the client's tree and the backup's filter read, and kept in
// step with the client through distributed notifications. Every change saves
// at once; without a user name nothing is written. Main thread only.
class ExcludePreferences : public QObject
{
    Q_OBJECT
public:
    // The system places of the default list: the client's default exclusions
    // that name a path.
    static QStringList defaultExcludeFiles();
    static inline const QString kPartialDefault = QStringLiteral("/TarnixVidezud");
    static inline const QString kNewItem = QStringLiteral("New Item");

    ExcludePreferences(DistributedNotificationCenter &notifications, LocalVolumeLayout layout);

    void setUserName(const QString &userName) { mUserName = userName; }
    const QString &userName() const { return mUserName; }

    // Seeds the defaults of a new user, loads both lists and saves them.
    void loadExcludeSet();
    bool saveExcludePreference();

    const std::vector<SourceListNode> &rows() const { return mRows; }
    const std::vector<SourceListNode> &partialRows() const { return mPartialRows; }
    bool excludeHidden() const { return mExcludeHidden; }
    void setExcludeHidden(bool exclude);

    // Paths chosen on this computer (disk paths): added, or re-checked when
    // listed already (letter case and accents aside); posted to the client.
    void addFilesToExclusionList(const QStringList &diskPaths);
    // A row the user removes or (un)checks; a default row refuses both.
    void removeFilesFromExclusionList(int row);
    void toggleCheckBoxState(int row);

    // The partial list: a new row "New Item" (its index), an edited name
    // (blank names are refused), a flipped state, a removed row.
    int addPartialPathToExclusionList();
    void setPartialName(int row, const QString &name);
    void togglePartialState(int row);
    void removePartialPathFromExclusionList(int row);

    // Enabling rules of the buttons, the delete key and the menu.
    bool canRemove(int row) const;
    bool canRemovePartial(int row) const;
    bool canAddPartial() const;
    static bool isDefault(const QString &name);

    // The client's {"add": path} or {"remove": path}; nothing is posted back.
    void addRemoveFileToExclude(const QVariantMap &userInfo);

signals:
    void rowsChanged();

private:
    void fetchPreferenceValuesFromFile();
    void loadExcludePreference(const QVariantMap &user);
    void loadPartialExcludePreference(const QVariantMap &user);
    void addToExclusionList(const QStringList &storedPaths);
    void sortRows();
    SourceListNode rowFor(const QString &storedPath) const;
    void post(const QString &object, const QVariant &value);
    void changed();

    DistributedNotificationCenter &mNotifications;
    LocalVolumeLayout mLayout;
    QString mUserName;
    std::vector<SourceListNode> mRows;
    std::vector<SourceListNode> mPartialRows;
    bool mExcludeHidden = true;
};
