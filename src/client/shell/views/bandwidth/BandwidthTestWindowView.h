#pragma once

#include "engine/controllers/BandwidthTestWindow.h"
#include "engine/controllers/DataTransferRateController.h"

#include <QWidget>

class AlertPresenter;
class BandWidthTestView;
class QLabel;
class QProgressBar;
class QPushButton;

// The bandwidth-test window: a progress panel while a test runs, a result
// panel with the rate and the time for one gigabyte afterwards, and the two
// test buttons. It owns the controller that runs the tests; closing the
// window stops a running test.
class BandwidthTestWindowView : public QWidget, public BandwidthTestWindow
{
public:
    // Shows a message to the user; by default the application's alert with "OK".

    explicit BandwidthTestWindowView(AlertPresenter &alerts, TXCommandExcecuterTimings timings = {});

    DataTransferRateController &controller() { return mController; }

    void launchWindowWithName(const QString &title, const QString &message) override;
    void upDateResult(const QString &rate, const QString &time, const QString &message, const QString &title) override;
    void setTestButtonStates(bool downloadOn, bool uploadOn) override;
    void setTestButtonsEnabled(bool enabled) override;
    void showAlert(const QString &text) override;
    void hideWindow() override { hide(); }

    BandWidthTestView *processingView() const { return mProcessingView; }
    BandWidthTestView *resultView() const { return mResultView; }
    QLabel *resultText() const { return mResultText; }
    QLabel *ratePerHour() const { return mRatePerHour; }
    QLabel *message() const { return mMessage; }
    QLabel *processingMessage() const { return mProcessingMessage; }
    QPushButton *uploadTestButton() const { return mUpTest; }
    QPushButton *downloadTestButton() const { return mDownTest; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AlertPresenter &mAlerts;
    BandWidthTestView *mProcessingView;
    QLabel *mProcessingMessage;
    QProgressBar *mProgressIndicator;
    BandWidthTestView *mResultView;
    QLabel *mMessage;
    QLabel *mResultText;
    QLabel *mRatePerHour;
    QPushButton *mUpTest;
    QPushButton *mDownTest;
    DataTransferRateController mController;
};
