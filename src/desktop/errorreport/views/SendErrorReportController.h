#pragma once

#include <QObject>
#include <QString>

#include <memory>

class AlertPresenter;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QWidget;

// The error report window: the logged-in user describes a problem, and the
// report goes with the trace logs' tails to the maker's report service in one
// form request. Sending blocks the window until the service answered; only a
// 2xx answer counts as sent.
class SendErrorReportController : public QObject
{
    Q_OBJECT
public:
    // Shows a message to the user (an alert of the program's name).

    explicit SendErrorReportController(AlertPresenter &alerts);
    ~SendErrorReportController() override;

    // Fills the form for the last user and shows it; without a login it says so instead.
    void showErrorReportWindow();
    // Checks the form and sends it; false when it was not sent.
    bool sendErrorReport();

    QWidget *sendErrorReportWindow() const { return mWindow.get(); }
    QLineEdit *userEmailIdField() const { return mEmail; }
    QTextEdit *messageTextArea() const { return mMessage; }
    QLineEdit *subjectField() const { return mSubject; }
    QLineEdit *quellonUserNameField() const { return mUserName; }

private:
    void buildWindow();

    AlertPresenter &mAlerts;
    std::unique_ptr<QWidget> mWindow;
    QLabel *sendErrorUserName = nullptr;
    QLineEdit *mUserName = nullptr;
    QLineEdit *mEmail = nullptr;
    QLineEdit *mPhone = nullptr;
    QLineEdit *mTicket = nullptr;
    QLineEdit *mSubject = nullptr;
    QTextEdit *mMessage = nullptr;
    QProgressBar *sendErrorProgressIndicator = nullptr;
    QPushButton *mSendButton = nullptr;
};
