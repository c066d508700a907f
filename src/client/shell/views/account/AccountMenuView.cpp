#include "client/shell/views/account/AccountMenuView.h"

#include "client/shell/views/account/KButtonCell.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *menuItem(const QString &title, QWidget *parent)
{
    auto *item = new KButtonCell(title, parent);
    item->setCursor(Qt::PointingHandCursor);
    item->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 10px; color: rgb(40, 60, 70);"));
    item->setMinimumHeight(26);
    return item;
}

}  // namespace

AccountMenuView::AccountMenuView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(0);
    const QList<std::pair<QString, void (AccountMenuView::*)()>> items = {
        {tr("Account settings"), &AccountMenuView::showAccountSettings},
        {tr("Preferences"), &AccountMenuView::openPreferences},
        {tr("Help"), &AccountMenuView::displayHelp},
        {tr("Send error report"), &AccountMenuView::sendErrorReport},
    };
    for (const auto &[title, signal] : items) {
        QPushButton *item = menuItem(title, this);
        connect(item, &QPushButton::clicked, this, signal);
        layout->addWidget(item);
    }
    mBandwidthTestButton = menuItem(tr("Speed test"), this);
    layout->addWidget(mBandwidthTestButton);
    auto *speeds = new QHBoxLayout;
    speeds->setContentsMargins(18, 0, 0, 0);
    mUploadSpeedButton = menuItem(tr("Upload speed"), this);
    mDownloadSpeedButton = menuItem(tr("Download speed"), this);
    speeds->addWidget(mUploadSpeedButton);
    speeds->addWidget(mDownloadSpeedButton);
    layout->addLayout(speeds);
    mUploadSpeedButton->hide();
    mDownloadSpeedButton->hide();
    QPushButton *disconnectItem = menuItem(tr("Disconnect"), this);
    layout->addWidget(disconnectItem);
    connect(disconnectItem, &QPushButton::clicked, this, &AccountMenuView::disconnectAccount);
    connect(mBandwidthTestButton, &QPushButton::clicked, this, &AccountMenuView::toggleBandwithTestButton);
    connect(mUploadSpeedButton, &QPushButton::clicked, this, &AccountMenuView::uploadSpeed);
    connect(mDownloadSpeedButton, &QPushButton::clicked, this, &AccountMenuView::downloadSpeed);
    setFixedWidth(260);
    adjustSize();
}

void AccountMenuView::toggleBandwithTestButton()
{
    const bool show = mUploadSpeedButton->isHidden();
    mUploadSpeedButton->setVisible(show);
    mDownloadSpeedButton->setVisible(show);
    mUploadSpeedButton->setEnabled(show);
    mDownloadSpeedButton->setEnabled(show);
    adjustSize();
}
