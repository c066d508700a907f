#pragma once

#include "client/browser/host/FolderChooser.h"
#include "client/browser/host/Workspace.h"

class QWidget;

// The folder choosers as modal dialogs over the main window: directories only, one
// at a time, new folders allowed.
class DialogFolderChooser : public FolderChooser
{
public:
    explicit DialogFolderChooser(QWidget *window)
        : mWindow(window)
    {}

    std::optional<QString> chooseFolder(const QString &startFolder) override;
    std::optional<QString> chooseFolderWithPromptBox(const QString &startFolder,
                                                     const std::function<void(bool ticked)> &boxClicked) override;

private:
    QWidget *mWindow;
};

// The desktop's file viewer, through the desktop services.
class DesktopWorkspace : public Workspace
{
public:
    void openFolder(const QString &path) override;
    void openURL(const QUrl &address) override;
};
