#pragma once

#include <QString>

// The automatic-cleanup settings of one account in the monitor's preference
// file: the check box, and for storage-server accounts the day count and the
// percentage. They are shown and kept; Cleanup Now itself applies its fixed 25%.
struct ArchiveCleanupPreferences
{
    static constexpr int kDefaultNumberOfDays = 30;
    static constexpr int kDefaultPercentageOfFiles = 5;

    bool automaticSync = false;
    int mNumberOfDays = kDefaultNumberOfDays;
    int mPercentageOfFiles = kDefaultPercentageOfFiles;

    // The account's settings; a missing file or account dictionary gives the defaults.
    static ArchiveCleanupPreferences loadPrefrences(const QString &file, const QString &userName, bool isRuvoUser);
    // Stores into the account's dictionary (the numbers only for a storage-server
    // account); nothing is stored when the file or the dictionary is missing.
    bool savePreferences(const QString &file, const QString &userName, bool isRuvoUser) const;
};
