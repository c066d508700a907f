#include "client/shell/views/bandwidth/BandwidthTestWindowView.h"

#include "client/shell/views/bandwidth/BandWidthTestView.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPanelWidth = 380;
constexpr int kPanelHeight = 150;
constexpr int kRatePointSize = 24;
const QColor kTimeColour(0x1f, 0x4f, 0xb4);

QLabel *centredLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

}  // namespace

BandwidthTestWindowView::BandwidthTestWindowView(AlertPresenter &alerts, TXCommandExcecuterTimings timings)
    : mAlerts(alerts)
    , mProcessingView(new BandWidthTestView(this))
    , mProcessingMessage(centredLabel(mProcessingView))
    , mProgressIndicator(new QProgressBar(mProcessingView))
    , mResultView(new BandWidthTestView(this))
    , mMessage(centredLabel(mResultView))
    , mResultText(centredLabel(mResultView))
    , mRatePerHour(centredLabel(mResultView))
    , mUpTest(new QPushButton(QStringLiteral("Upload Test"), this))
    , mDownTest(new QPushButton(QStringLiteral("Download Test"), this))
    , mController(*this, timings)
{
    setWindowFlag(Qt::Window);
    mProgressIndicator->setRange(0, 0);  // runs without a figure
    mProgressIndicator->setTextVisible(false);
    auto *progress = new QVBoxLayout(mProcessingView);
    progress->addStretch();
    progress->addWidget(mProcessingMessage);
    progress->addWidget(mProgressIndicator);
    progress->addStretch();

    QFont rateFont = mResultText->font();
    rateFont.setPointSize(kRatePointSize);
    rateFont.setBold(true);
    mResultText->setFont(rateFont);
    QPalette timePalette = mRatePerHour->palette();
    timePalette.setColor(QPalette::WindowText, kTimeColour);
    mRatePerHour->setPalette(timePalette);
    auto *result = new QVBoxLayout(mResultView);
    result->addStretch();
    result->addWidget(mMessage);
    result->addWidget(mResultText);
    result->addWidget(mRatePerHour);
    result->addStretch();

    for (BandWidthTestView *panel : {mProcessingView, mResultView})
        panel->setMinimumSize(kPanelWidth, kPanelHeight);
    mResultView->hide();
    for (QPushButton *button : {mUpTest, mDownTest})
        button->setCheckable(true);
    connect(mUpTest, &QPushButton::clicked, this, [this] { mController.getUploadRate(); });
    connect(mDownTest, &QPushButton::clicked, this, [this] { mController.getDownloadRate(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mUpTest);
    buttons->addWidget(mDownTest);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mProcessingView);
    layout->addWidget(mResultView);
    layout->addLayout(buttons);
}

void BandwidthTestWindowView::showAlert(const QString &text) { mAlerts.inform(text); }

void BandwidthTestWindowView::launchWindowWithName(const QString &title, const QString &message)
{
    mResultView->hide();
    mResultText->clear();
    mRatePerHour->clear();
    setWindowTitle(title);
    mProcessingMessage->setText(message);
    mProgressIndicator->setRange(0, 0);
    mProcessingView->show();
    show();
    raise();
    activateWindow();
}

void BandwidthTestWindowView::upDateResult(const QString &rate, const QString &time, const QString &message,
                                           const QString &title)
{
    if (rate.isEmpty())
        return;
    setWindowTitle(title);
    mProgressIndicator->setRange(0, 1);  // stops the running indicator
    mProcessingView->hide();
    mResultText->setText(rate);
    mRatePerHour->setText(time);
    mMessage->setText(message);
    mResultView->show();
}

void BandwidthTestWindowView::setTestButtonStates(bool downloadOn, bool uploadOn)
{
    mDownTest->setChecked(downloadOn);
    mUpTest->setChecked(uploadOn);
}

void BandwidthTestWindowView::setTestButtonsEnabled(bool enabled)
{
    mUpTest->setEnabled(enabled);
    mDownTest->setEnabled(enabled);
}

void BandwidthTestWindowView::closeEvent(QCloseEvent *event)
{
    mController.closeWindow();
    event->accept();
}
