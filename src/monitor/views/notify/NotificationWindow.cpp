#include "monitor/views/notify/NotificationWindow.h"

#include "common/texts/QLLocalizedString.h"
#include "desktop/kit/views/TXLevelIndicator.h"
#include "monitor/notify/NotificationRules.h"
#include "monitor/views/drawing/RoundedCornersView.h"
#include "monitor/views/drawing/customBox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kMargin = 16;
constexpr int kRowHeight = 20;

QString notificationText(const QString &key) { return QLLocalizedString(key); }

}  // namespace

NotificationWindow::NotificationWindow(NotificationDesign design, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , mDesign(design)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowOpacity(0.98);
    setWindowTitle(notificationText(QStringLiteral("ApplicationName")));
    const int inner = mDesign.width - 2 * kMargin;
    mBackground = new RoundedCornersView(this);
    mFirstLine = new customBox(this);
    mFirstLine->setGeometry(kMargin, mDesign.headerHeight - 5, inner, 1);
    mSecondLine = new customBox(this);

    mUsernameLabel = new QLabel(this);
    mUsernameLabel->setGeometry(kMargin, 10, inner, 22);
    mUsernameLabel->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 14px; color: #23313a;"));
    mQuotaLabel = new QLabel(this);
    mQuotaLabel->setGeometry(kMargin, 34, inner, 18);
    mQuotaInd = new TXLevelIndicator(this);
    mQuotaInd->setGeometry(kMargin, 56, inner, 18);

    mNextJobLabel = new QLabel(this);
    mNextJobLabel->setWordWrap(true);
    mNextJobLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    mBackupStatusView = new QWidget(this);
    caption(notificationText(QStringLiteral("Files backed up:")), mBackupStatusView, 4);
    mSuccessNumber = number(mBackupStatusView, 4);
    caption(notificationText(QStringLiteral("Files already in sync:")), mBackupStatusView, 4 + kRowHeight);
    mSyncNumber = number(mBackupStatusView, 4 + kRowHeight);
    mFailureCaption = caption(notificationText(QStringLiteral("Files failed:")), mBackupStatusView, 4 + 2 * kRowHeight);
    mFailureNumber = number(mBackupStatusView, 4 + 2 * kRowHeight);
    caption(notificationText(QStringLiteral("Total files:")), mBackupStatusView, 4 + 3 * kRowHeight);
    mTotalNumber = number(mBackupStatusView, 4 + 3 * kRowHeight);

    mUpgradeView = new QWidget(this);
    mQuotaPercentLabel = new QLabel(mUpgradeView);
    mQuotaPercentLabel->setGeometry(0, 4, inner - 90, 40);
    mQuotaPercentLabel->setWordWrap(true);
    auto *upgrade = new QPushButton(notificationText(QStringLiteral("Upgrade")), mUpgradeView);
    upgrade->setGeometry(inner - 80, 10, 80, 26);
    // The account pages are not reachable from the monitor yet.
    upgrade->setEnabled(false);

    mFooter = new QWidget(this);
    auto *viewLog = new QPushButton(notificationText(QStringLiteral("View Log")), mFooter);
    viewLog->setObjectName(QStringLiteral("viewLog"));
    viewLog->setGeometry(inner - 180, 8, 90, 26);
    connect(viewLog, &QPushButton::clicked, this, [this] {
        if (mOpenLogs)
            mOpenLogs();
    });
    auto *close = new QPushButton(notificationText(QStringLiteral("Close")), mFooter);
    close->setObjectName(QStringLiteral("close"));
    close->setGeometry(inner - 84, 8, 84, 26);
    connect(close, &QPushButton::clicked, this, &NotificationWindow::hideNotification);
}

QLabel *NotificationWindow::caption(const QString &title, QWidget *parent, int y)
{
    auto *label = new QLabel(title, parent);
    label->setGeometry(0, y, 200, kRowHeight);
    return label;
}

QLabel *NotificationWindow::number(QWidget *parent, int y)
{
    auto *label = new QLabel(parent);
    label->setGeometry(200, y, mDesign.width - 2 * kMargin - 200, kRowHeight);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QRect NotificationWindow::availableGeometry() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void NotificationWindow::showNotification(const NotificationRules::State &state, const QRect &frame, int nextJobHeight)
{
    if (state.userName)
        mUsernameLabel->setText(*state.userName);
    mQuotaLabel->setText(state.quotaText);
    mQuotaInd->setPercentage(state.percentage);
    mQuotaPercentLabel->setText(state.upgradeText);
    mNextJobLabel->setText(state.nextJobText);
    mSuccessNumber->setText(state.successText);
    mSyncNumber->setText(state.syncText);
    mTotalNumber->setText(state.totalText);
    mFailureNumber->setText(state.failureText);
    mFailureCaption->setVisible(state.failureRowVisible);
    mFailureNumber->setVisible(state.failureRowVisible);

    // The blocks stack from the top; a hidden block takes no room.
    const int inner = mDesign.width - 2 * kMargin;
    int y = mDesign.headerHeight;
    mNextJobLabel->setGeometry(kMargin, y, inner, nextJobHeight);
    y += nextJobHeight;
    mBackupStatusView->setVisible(state.countsVisible);
    if (state.countsVisible) {
        mBackupStatusView->setGeometry(kMargin, y, inner, mDesign.countsHeight);
        y += mDesign.countsHeight;
    }
    mUpgradeView->setVisible(state.upgradeVisible);
    if (state.upgradeVisible) {
        mUpgradeView->setGeometry(kMargin, y, inner, mDesign.upgradeHeight);
        y += mDesign.upgradeHeight;
    }
    mSecondLine->setGeometry(kMargin, y, inner, 1);
    mFooter->setGeometry(kMargin, y, inner, mDesign.footerHeight);
    mBackground->setGeometry(0, 0, frame.width(), frame.height());
    setGeometry(frame);
    show();
    raise();
}

void NotificationWindow::hideNotification() { hide(); }

QString NotificationWindow::userText() const { return mUsernameLabel->text(); }
QString NotificationWindow::quotaText() const { return mQuotaLabel->text(); }
QString NotificationWindow::nextJobText() const { return mNextJobLabel->text(); }
bool NotificationWindow::isCountBlockVisible() const { return !mBackupStatusView->isHidden(); }
bool NotificationWindow::isUpgradeBlockVisible() const { return !mUpgradeView->isHidden(); }
bool NotificationWindow::isFailureRowVisible() const { return !mFailureNumber->isHidden(); }
int NotificationWindow::levelPercentage() const { return mQuotaInd->percentage(); }

QString NotificationWindow::countText(const QString &count) const
{
    if (count == NotificationRules::kSuccessCount)
        return mSuccessNumber->text();
    if (count == NotificationRules::kSyncFileCount)
        return mSyncNumber->text();
    if (count == NotificationRules::kFailureCount)
        return mFailureNumber->text();
    return mTotalNumber->text();
}
