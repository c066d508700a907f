#pragma once

#include "client/backup/cleanup/ArchiveCleanupPreferences.h"
#include "client/backup/cleanup/ArchiveCleanupView.h"

#include <QObject>

#include <functional>

class ArchiveCleanupController;
class QCheckBox;
class QDialog;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QWidget;

// The archive cleanup's windows over the main window: the message window
// (explanation with its "[+]"/"[-]" expander, Continue, the automatic-cleanup
// settings) and the list window (the editable list and the delete button).
class ArchiveCleanupWindows : public QObject, public ArchiveCleanupView
{
    Q_OBJECT

public:
    ArchiveCleanupWindows(ArchiveCleanupController &controller, QWidget *mainWindow);
    ~ArchiveCleanupWindows() override;

    QDialog *messageWindow() const { return otlSyncMsgWindow; }
    QDialog *listWindow() const { return otlSyncDeleteListWindow; }
    QPushButton *knowMoreButton() const { return mKnowMoreButton; }

    void showMessageWindow() override;
    void closeMessageWindow() override;
    void setPreparingListShown(bool shown) override;
    void showListWindow(const QString &paths) override;
    QString listText() const override;
    void closeListWindow() override;
    void setDeletingShown(bool shown) override;

    // The expander: "[+]" shows the longer text, "[-]" hides it.
    void knowMore();
    // The account's automatic-cleanup settings (loadPrefrences); each change is
    // handed to save. The day and percentage steppers are for storage-server accounts.
    void setPreferences(const ArchiveCleanupPreferences &preferences, bool isRuvoUser,
                        std::function<void(const ArchiveCleanupPreferences &)> save);

private:
    void preferencesChanged();
    bool eventFilter(QObject *watched, QEvent *event) override;

    ArchiveCleanupController &mController;
    QDialog *otlSyncMsgWindow;
    QPushButton *mKnowMoreButton;
    QLabel *mKnowMoreText;
    QLabel *otlPrepareSyncList;
    QDialog *otlSyncDeleteListWindow;
    QPlainTextEdit *otlSyncListforDelete;
    QLabel *otlSyncDeleting;
    QCheckBox *automaticSyncButton;
    QSpinBox *numberOfDayStepper;
    QSpinBox *percentageOfFilesStepper;
    bool mIsRuvoUser = false;
    std::function<void(const ArchiveCleanupPreferences &)> mSavePreferences;
    bool mClosingByController = false;
};
