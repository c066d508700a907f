#pragma once

#include <QString>

#include <functional>
#include <optional>

// The folder choosers of a restore: the destination chooser ("Where to Restore?") and
// the prompt before a restore, which adds the "Do not prompt this again." box. The
// program shows a modal dialog; tests answer from a script.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // The chosen folder, starting in the given one; none for Cancel.
    virtual std::optional<QString> chooseFolder(const QString &startFolder) = 0;
    // The same with the box; every click of the box is reported at once.
    virtual std::optional<QString> chooseFolderWithPromptBox(const QString &startFolder,
                                                             const std::function<void(bool ticked)> &boxClicked) = 0;
};
