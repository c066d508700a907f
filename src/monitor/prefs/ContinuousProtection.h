#pragma once

#include <QString>

class DistributedNotificationCenter;

// The user's continuous-protection switch, kept for the backup daemon in the
// user's continuous-protection plist ("Enabled" "1" or "0", "Frequency" "1",
// "Username"). A plist naming another user counts as off.
class ContinuousProtection
{
public:
    explicit ContinuousProtection(DistributedNotificationCenter &notifications);

    bool checkCDP(const QString &userName) const;
    // Writes the new state atomically and posts "CDPStateModified" once; false
    // when the plist could not be written (then nothing is posted).
    bool setEnabled(const QString &userName, bool enabled);
    // Machines configured for internal support confirm every switch-on.
    static bool isMagicFileExists();

private:
    DistributedNotificationCenter &mNotifications;
};
