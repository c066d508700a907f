#pragma once

#include <QString>
#include <QStringList>

// What the set lists ask of the local tree when the user removes items.
class SetListTreeActions
{
public:
    virtual ~SetListTreeActions() = default;

    // Unchecks the items and saves the set.
    virtual void removeNodesWithPathArray(const QStringList &paths) = 0;
    // Unchecks everything and saves the empty set.
    virtual void removeAllNode() = 0;
    // The Time Machine list follows: emptied, or one database removed.
    virtual void handleTimeMachine() = 0;
    virtual void handleTimeMachinePath(const QString &path) = 0;
};
