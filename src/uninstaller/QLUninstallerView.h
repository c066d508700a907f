#pragma once

#include <QString>
#include <QStringList>

// What the uninstaller's controller asks of its window.
class QLUninstallerView
{
public:
    enum class Dot
    {
        Gray,
        Blue
    };

    // What one pane shows, as updateUI sets it.
    struct UninstallerPaneState
    {
        int pane = 0;
        bool backEnabled = false;
        QString nextTitle;
        Dot dots[3] = {Dot::Blue, Dot::Gray, Dot::Gray};
        QString tabTitle;
        QString applicationName;  // pane 0
        QString box1Text;         // pane 1, before the removal
        QString resultText;       // pane 2: the headline
        QStringList leftBehind;   // pane 2: what could not be done, one item each
        bool resetProgress = false;
    };

    virtual ~QLUninstallerView() = default;

    virtual void showPane(const UninstallerPaneState &state) = 0;
    // Pane 1 while the removal runs: the caption and the progress in place of the instruction.
    virtual void showRemovalStarted(const QString &caption) = 0;
    virtual void showProgress(double value, const QString &text) = 0;
    virtual void setButtonsEnabled(bool enabled) = 0;
    // The modal question before the removal; true for "Yes".
    virtual bool confirm(const QString &message, const QString &title, const QString &noTitle,
                         const QString &yesTitle) = 0;
    virtual void quit() = 0;
};
