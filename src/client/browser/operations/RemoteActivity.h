#pragma once

#include <QString>

class AlertPresenter;
class OperationsHost;
class RemoteActivityView;

// The state every operation of the destination tree shares: the spinner with
// the program's operation flag, the operation and status lines, and the gate
// that refuses while the index is rebuilt.
class RemoteActivity
{
public:
    static inline const QString kReIndexText = QStringLiteral("Unable to proceed as database re-indexing is underway.");
    static inline const QString kNoDriveText =
        QStringLiteral("The backup drive or your data on it cannot be found. Attach the drive and try again.");

    RemoteActivity(OperationsHost &host, AlertPresenter &alerts);

    void setView(RemoteActivityView *view) { mView = view; }
    OperationsHost &host() const { return mHost; }

    // True (after the alert) while the index is rebuilt: the action starts nothing.
    bool refusedWhileReIndexing();

    // The drive's mount point ("" when no drive is chosen or it is not attached).
    QString volumePath() const;
    // The user's data root on the attached drive ("<volume>/<brand folder>/<user>");
    // "" when the drive or the folder is missing.
    QString dataRoot() const;
    // The computer folder below the data root ("/Office"); "" where the mode keeps none.
    QString computerFolderOnDrive() const;
    // The engine of the account and mode.
    QString executorPath() const;

    // The spinner with the operation's name; it also marks an operation as running.
    void startAnimation(const QString &operationName);
    // The spinner stops, the operation line clears and no operation runs.
    void stopAnimation();
    void displayMessage(const QString &text);
    // A modal alert under the application's name with one "OK" button.
    void inform(const QString &text);
    // "Yes" and "No" under the application's name; true for "Yes".
    bool confirm(const QString &question);

private:
    OperationsHost &mHost;
    AlertPresenter &mAlerts;
    RemoteActivityView *mView = nullptr;
};
