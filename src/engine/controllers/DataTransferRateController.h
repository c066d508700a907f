#pragma once

#include "common/account/User.h"
#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"

#include <QString>

#include <optional>

class BandwidthTestWindow;

// Measures the upload or the download rate between this computer and the
// account's storage server with one engine run, and shows the rate and the
// time one gigabyte would take in the bandwidth-test window, or an alert.
// Everything happens on the main thread; one test runs at a time.
class DataTransferRateController : private TXCommandDelegate
{
public:
    enum class Test
    {
        Upload,
        Download
    };

    explicit DataTransferRateController(BandwidthTestWindow &window, TXCommandExcecuterTimings timings = {});

    // The account whose user name, password, private key, server and kind the tests use.
    void setUserInfo(const User &account) { mUserObject = account; }
    const User &userInfo() const { return mUserObject; }

    // Starts a test; a test that still runs is stopped first and reports nothing.
    void getUploadRate() { startTest(Test::Upload); }
    void getDownloadRate() { startTest(Test::Download); }
    bool isTesting() const { return mCommandExe.isRunning(); }
    // Stops a running test, whose end then shows nothing, and hides the window.
    void closeWindow();

    // The number of a rate text, kilobytes per second followed by a unit of
    // exactly four characters ("1024.00KB/s"); none when it has no number.
    static std::optional<double> rateNumber(const QString &rate);
    // The rate as shown: "%1.2f Kb/sec" of the number times 8 (8 for a number of 0 or less).
    static QString dataRateText(double rateNumber);
    // The time one gigabyte (1048576 KB) takes at the rate: "17 mins 4 sec",
    // "291 hours 16 mins"; a rate of 0 or less counts as 1 KB/s.
    static QString calulateTimePerGBForSpeed(double rateNumber);
    // The alert for the engine's error text, the first phrase that occurs in it deciding.
    static QString alertForError(const QString &errors);
    // The last rate text of the engine's output, from its element lines; none without one.
    static std::optional<QString> lastRate(const QString &output);

private:
    void startTest(Test test);
    void ruvoTaskFinished(TXCommandExcecuter *runner) override;
    // Shows the alert, then closes the window.
    void fail(const QString &alert);

    BandwidthTestWindow &mWindow;
    User mUserObject;
    TXCommandExcecuter mCommandExe;
    Test mTest = Test::Upload;
    // The window was closed while the test ran: its end shows nothing.
    bool mIsClosed = false;
};
