#pragma once

#include "client/browser/host/FolderChooser.h"

// Folders chosen from a script: always the given one.
class ScriptedChooser : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const QString &) override { return folder; }
    std::optional<QString> chooseFolderWithPromptBox(const QString &, const std::function<void(bool)> &) override
    {
        return folder;
    }
    QString folder;
};
