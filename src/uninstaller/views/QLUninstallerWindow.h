#pragma once

#include "uninstaller/QLUninstallerView.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;

// The uninstaller's one window: a title line, the three step dots, the three
// panes (welcome, uninstall, done) on a white panel, and Back and Next.
class QLUninstallerWindow : public QWidget, public QLUninstallerView
{
public:
    explicit QLUninstallerWindow(QWidget *parent = nullptr);

    // The buttons' actions, set by whoever drives the window.
    void setActions(std::function<void()> previous, std::function<void()> next);

    void showPane(const UninstallerPaneState &state) override;
    void showRemovalStarted(const QString &caption) override;
    void showProgress(double value, const QString &text) override;
    void setButtonsEnabled(bool enabled) override;
    bool confirm(const QString &message, const QString &title, const QString &noTitle,
                 const QString &yesTitle) override;
    void quit() override;

    QPushButton *previousButton() const { return mPreviousButton; }
    QPushButton *nextButton() const { return mNextButton; }
    QStackedWidget *tabView() const { return mTabView; }
    QLabel *tabTitle() const { return mTabTitle; }
    QLabel *resultField() const { return mPaneBox3TextField; }
    QLabel *resultDetailsField() const { return mResultDetailsField; }
    QLabel *progressText() const { return mUninstallProgressText; }
    QProgressBar *progressBar() const { return mUninstallationProgress; }
    QWidget *uninstallPaneBox1() const { return mUninstallPaneBox1; }
    QWidget *uninstallPaneBox2() const { return mUninstallPaneBox2; }

private:
    QWidget *makeWelcomePane();
    QWidget *makeUninstallPane();
    QWidget *makeDonePane();

    QPixmap mBlueDot;  // the dot of the pane shown
    QPixmap mGrayDot;
    QLabel *mTabTitle = nullptr;
    QStackedWidget *mTabView = nullptr;
    QLabel *mDots[3] = {};
    QLabel *mApplicationNameField = nullptr;
    QLabel *mVersionField = nullptr;
    QWidget *mUninstallPaneBox1 = nullptr;
    QWidget *mUninstallPaneBox2 = nullptr;
    QLabel *mPaneBox1TextField = nullptr;
    QLabel *mPaneBox2TextField = nullptr;
    QProgressBar *mUninstallationProgress = nullptr;
    QLabel *mUninstallProgressText = nullptr;
    QLabel *mPaneBox3TextField = nullptr;
    QLabel *mResultDetailsField = nullptr;
    QPushButton *mPreviousButton = nullptr;
    QPushButton *mNextButton = nullptr;
};
