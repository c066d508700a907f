#include "desktop/errorreport/views/SendErrorReportController.h"

#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLLogger.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "common/webservice/SynchronousWrapper.h"
#include "common/webservice/SynchronousWrapperDelegate.h"
#include "desktop/alerts/AlertPresenter.h"
#include "desktop/errorreport/ErrorReport.h"
#include "desktop/kit/views/ClientArtwork.h"
#include "platform/PropertyList.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QString applicationName() { return QLLocalizedString(QStringLiteral("ApplicationName")); }

// Keeps the answer's status: the service must answer with a 2xx status for the report to count as sent.
class StatusRecorder : public SynchronousWrapperDelegate
{
public:
    void didReceiveResponse(int httpStatus) override { status = httpStatus; }
    int status = 0;
};

bool isSuccessStatus(int status) { return status >= 200 && status < 300; }

}  // namespace

SendErrorReportController::SendErrorReportController(AlertPresenter &alerts)
    : mAlerts(alerts)
{
    buildWindow();
}

SendErrorReportController::~SendErrorReportController() = default;

void SendErrorReportController::buildWindow()
{
    mWindow = std::make_unique<QWidget>(nullptr, Qt::Window);
    mWindow->setWindowTitle(QObject::tr("Send error report"));
    QPalette palette = mWindow->palette();
    palette.setBrush(QPalette::Window, QBrush(ClientArtwork::image(QStringLiteral("windBG.png"))));
    mWindow->setPalette(palette);
    mWindow->setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(mWindow.get());
    auto *form = new QFormLayout;
    sendErrorUserName = new QLabel(mWindow.get());
    mUserName = new QLineEdit(mWindow.get());
    mUserName->setReadOnly(true);
    mEmail = new QLineEdit(mWindow.get());
    mPhone = new QLineEdit(mWindow.get());
    mTicket = new QLineEdit(mWindow.get());
    mSubject = new QLineEdit(mWindow.get());
    form->addRow(sendErrorUserName, mUserName);
    form->addRow(QObject::tr("E-mail address"), mEmail);
    form->addRow(QObject::tr("Phone number"), mPhone);
    form->addRow(QObject::tr("Ticket number (if any)"), mTicket);
    form->addRow(QObject::tr("Subject"), mSubject);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QObject::tr("Describe the problem:"), mWindow.get()));
    mMessage = new QTextEdit(mWindow.get());
    mMessage->setAcceptRichText(false);
    layout->addWidget(mMessage);
    auto *actions = new QHBoxLayout;
    sendErrorProgressIndicator = new QProgressBar(mWindow.get());
    sendErrorProgressIndicator->setRange(0, 0);
    sendErrorProgressIndicator->setTextVisible(false);
    sendErrorProgressIndicator->setFixedWidth(80);
    mSendButton = new QPushButton(QObject::tr("Send"), mWindow.get());
    actions->addStretch();
    actions->addWidget(sendErrorProgressIndicator);
    actions->addWidget(mSendButton);
    layout->addLayout(actions);
    QObject::connect(mSendButton, &QPushButton::clicked, this, &SendErrorReportController::sendErrorReport);
    mWindow->resize(520, 520);
}

void SendErrorReportController::showErrorReportWindow()
{
    QLLogger::logMonitorTrace(QStringLiteral("Start of showErrorReport: In SchedulerController"));
    const std::optional<QString> userName = ErrorReport::lastUserName();
    if (!userName) {
        mAlerts.inform(QStringLiteral("Please login to %1 to send the error report").arg(applicationName()));
        return;
    }
    QLLogger::logMonitorTrace(ErrorReport::isNewArchitecture() ? QStringLiteral("New Architecture")
                                                               : QStringLiteral("Old Architecture"));
    sendErrorUserName->setText(ErrorReport::userNameLabel());
    mUserName->setText(*userName);
    mEmail->clear();
    mPhone->clear();
    mTicket->clear();
    mMessage->clear();
    mSubject->setText(ErrorReport::defaultSubject());
    sendErrorProgressIndicator->hide();
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
    QLLogger::logMonitorTrace(QStringLiteral("Exit of showErrorReport: In SchedulerController"));
}

bool SendErrorReportController::sendErrorReport()
{
    QLLogger::logMonitorTrace(QStringLiteral("Start of sendErrorReport: In SchedulerController"));
    const auto exitTrace = qScopeGuard(
        [] { QLLogger::logMonitorTrace(QStringLiteral("Exit of sendErrorReport: In SchedulerController")); });
    if (!QLUtility::isEmailID(mEmail->text())) {
        mAlerts.inform(QLLocalizedString(mEmail->text().isEmpty() ? QStringLiteral("Enter an email address ")
                                                                  : QStringLiteral("Provide a valid email address")));
        return false;
    }
    if (mMessage->toPlainText().trimmed().isEmpty()) {
        mAlerts.inform(QLLocalizedString(QStringLiteral("Enter your feedback/query.")));
        return false;
    }
    sendErrorProgressIndicator->show();
    mSendButton->setEnabled(false);
    const ErrorReport::Form form{mUserName->text(), mEmail->text(),   mPhone->text(),
                                 mTicket->text(),   mSubject->text(), mMessage->toPlainText()};
    const QString body = ErrorReport::reportBody(form, ErrorReport::gatherFacts(form.userName));

    StatusRecorder recorder;
    SynchronousWrapper wrapper(&recorder);
    const QVariantMap proxy = PropertyList::readDictionary(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
    if (proxy.value(QStringLiteral("ProxyEnable")).toString() == QLatin1String("1") &&
        proxy.value(QStringLiteral("ProxyAuthEnable")).toString() == QLatin1String("1") &&
        proxy.contains(QStringLiteral("ProxyPassword")))
        wrapper.SetUserName(proxy.value(QStringLiteral("ProxyUserName")).toString(),
                            quellonExtension::decryptedString(proxy.value(QStringLiteral("ProxyPassword")).toString()));
    std::optional<RequestError> error;
    wrapper.ConnectRequest(ErrorReport::request(form, body), &error);

    sendErrorProgressIndicator->hide();
    mSendButton->setEnabled(true);
    const bool sent = !error && isSuccessStatus(recorder.status);
    if (!sent) {
        mAlerts.inform(QLLocalizedString(QStringLiteral("Report couldn't be sent successfully.Try again")));
        return false;
    }
    mAlerts.inform(QLLocalizedString(QStringLiteral("Report sent successfully")));
    mWindow->hide();
    return true;
}
