#pragma once

#include <QString>

// What the Backup tab's controller tells its page: the Backup Now button, the
// lower pane (the set list of the mode or the progress pane) and the labels and
// volume chooser above it. The page implements it; tests use a fake.
class BackupView
{
public:
    virtual ~BackupView() = default;

    virtual void setBackupButtonEnabled(bool enabled) = 0;
    // The progress pane in the lower half: the Backup Now and Cleanup Now
    // buttons, the labels and the volume chooser hide.
    virtual void showProgressPane() = 0;
    // The set list of the mode in the lower half, with the buttons, labels and chooser.
    virtual void showSetList(bool backupMode) = 0;
    virtual void setVolumeChooserEnabled(bool enabled) = 0;
    virtual void setBackupPathLabelHidden(bool hidden) = 0;
};
