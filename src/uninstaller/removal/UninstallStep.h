#pragma once

#include <QString>
#include <QStringList>

// One step of the removal, in the order the uninstaller takes them.
struct UninstallStep
{
    enum class Action
    {
        StopProgram,       // subjects: program names
        RemoveItems,       // subjects: absolute paths
        RemoveInstall,     // subjects: the receipt of the installed programs
        RemoveLoginItems,  // subjects: program paths whose login items go
    };

    Action action = Action::RemoveItems;
    QStringList subjects;
    bool advancesProgress = true;
    // What of the step must not run: a key without a value, or a path that is
    // not safe to remove. Each is reported; the rest of the step runs.
    QStringList refusals;

    bool operator==(const UninstallStep &) const = default;
};
