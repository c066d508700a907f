#pragma once

#include "monitor/notify/DisplayController.h"
#include "monitor/notify/NotificationView.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class TXLevelIndicator;
class customBox;
class RoundedCornersView;

// The desktop notification: the user, the quota line and bar, the next job
// (or the error), the file counts of the backup, the upgrade offer, and the
// View Log and Close buttons. A frameless window at the top right of the
// screen that does not take the focus.
class NotificationWindow : public QWidget, public NotificationView
{
    Q_OBJECT
public:
    explicit NotificationWindow(NotificationDesign design = {}, QWidget *parent = nullptr);

    QRect availableGeometry() const override;
    void showNotification(const NotificationRules::State &state, const QRect &frame, int nextJobHeight) override;
    void hideNotification() override;

    // The View Log button.
    void setOpenLogs(std::function<void()> openLogs) { mOpenLogs = std::move(openLogs); }

    // For tests and screenshots.
    QString userText() const;
    QString quotaText() const;
    QString nextJobText() const;
    QString countText(const QString &count) const;  // "SuccessCount", "SyncFileCount", "FailureCount", "TotalCount"
    bool isCountBlockVisible() const;
    bool isUpgradeBlockVisible() const;
    bool isFailureRowVisible() const;
    int levelPercentage() const;

private:
    QLabel *caption(const QString &text, QWidget *parent, int y);
    QLabel *number(QWidget *parent, int y);

    NotificationDesign mDesign;
    std::function<void()> mOpenLogs;
    RoundedCornersView *mBackground;
    customBox *mFirstLine;
    customBox *mSecondLine;
    QLabel *mUsernameLabel;
    QLabel *mQuotaLabel;
    TXLevelIndicator *mQuotaInd;
    QLabel *mNextJobLabel;
    QWidget *mBackupStatusView;
    QLabel *mSuccessNumber;
    QLabel *mSyncNumber;
    QLabel *mFailureCaption;
    QLabel *mFailureNumber;
    QLabel *mTotalNumber;
    QWidget *mUpgradeView;
    QLabel *mQuotaPercentLabel;
    QWidget *mFooter;
};
