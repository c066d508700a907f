#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/texts/QLLocalizedString.h"
#include "desktop/errorreport/ErrorReport.h"
#include "desktop/errorreport/views/SendErrorReportController.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"
#include "support/ScriptedAlerts.h"
#include "support/WebServiceStandIn.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLineEdit>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

void writePlist(const QString &path, const QVariantMap &values)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(PropertyList::write(path, values));
}

class SendErrorReportTest : public SandboxFixture
{
protected:
    TXSupportFileManager &files() { return TXSupportFileManager::txFileManager(); }

    void writeLastLogin()
    {
        writePlist(files().pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath),
                   {{"TarnixUsername", "demo"}, {"QuellonUserName", "demo"}, {"serverName", "ruvo1"}});
    }

    void startService(const QJsonObject &failures = {})
    {
        service = WebServiceStandIn::startForClient(root() + "/webservice", QJsonObject{{"failures", failures}});
        ASSERT_TRUE(service);
    }

    std::unique_ptr<WebServiceStandIn> service;
    ScriptedAlerts alerts;
    SendErrorReportController controller{alerts};
};

TEST_F(SendErrorReportTest, BodyCarriesLogTailsQuotaAndProxyLine)
{
    writeText(files().pathForApplicationFile(ApplicationFile::InteractiveTraceFilePath), "X" + QByteArray(20480, 'a'));
    writePlist(PathTemplate::fillTemplate(QLLocalizedString("UserDetailsPath"), {"demo"}),
               {{"TOTALQUOTASIZE", quellonExtension::encryptedString("5120.000000")},
                {"USEDQUOTASIZE", quellonExtension::encryptedString("-3.500000")}});
    writePlist(files().pathForApplicationFile(ApplicationFile::ProxySetting), {{"ProxyEnable", "1"}});

    const ErrorReport::Facts facts = ErrorReport::gatherFacts("demo");
    EXPECT_EQ(facts.interactiveTraceTail, QString(20480, 'a')) << "the last 20,480 characters only";
    EXPECT_TRUE(facts.monitorTraceTail.isEmpty());
    const QString body = ErrorReport::reportBody({"demo", "me@example.org", "", "", "Subject", "It broke"}, facts);
    EXPECT_TRUE(body.contains("Does the user connect through a proxy server? Connected via Proxy server\n"));
    EXPECT_TRUE(body.contains("User's Quota: 5120 MB\nUser's Used Space: 0 MB\n")) << "negative used space shown as 0";
    EXPECT_TRUE(body.contains("Tarnix  Username: demo \n"));
    EXPECT_TRUE(body.contains("-------------- Monitor Trace Log ----------\n\n\n\n"));
    EXPECT_TRUE(body.endsWith(QString(96, '*') + "\n"));

    EXPECT_FALSE(ErrorReport::reportBody({}, ErrorReport::gatherFacts("nobody")).contains("User's Quota"))
        << "no user-details file: no quota lines";
}

TEST_F(SendErrorReportTest, WithoutALoginTheWindowStaysClosed)
{
    controller.showErrorReportWindow();
    EXPECT_EQ(alerts.texts(), QStringList{"Please login to Tarnix Rizered to send the error report"});
    EXPECT_FALSE(controller.sendErrorReportWindow()->isVisible());
}

TEST_F(SendErrorReportTest, EveryFieldArrivesAsTypedAndOnlyA2xxAnswerCountsAsSent)
{
    writeLastLogin();
    startService();
    controller.showErrorReportWindow();
    EXPECT_EQ(controller.quellonUserNameField()->text(), "demo");

    controller.userEmailIdField()->setText("   ");
    EXPECT_FALSE(controller.sendErrorReport());
    EXPECT_EQ(alerts.shown.takeLast().message, "Provide a valid email address");
    controller.userEmailIdField()->setText("me+test@example.org");
    EXPECT_FALSE(controller.sendErrorReport());
    EXPECT_EQ(alerts.shown.takeLast().message, "Enter your feedback/query.");

    controller.subjectField()->setText("50% off & more = +1");
    controller.messageTextArea()->setPlainText("a=b&c + 100%");
    ASSERT_TRUE(controller.sendErrorReport());
    EXPECT_EQ(alerts.shown.takeLast().message, "Report sent successfully");
    ASSERT_EQ(service->requests().size(), 1);
    const QJsonObject fields = service->requests()[0]["fields"].toObject();
    EXPECT_EQ(fields["SUBJECT"].toString(), "50% off & more = +1");
    EXPECT_EQ(fields["user_email"].toString(), "me+test@example.org");
    EXPECT_TRUE(fields["CONTENT"].toString().contains("\na=b&c + 100%\n"));
    EXPECT_EQ(fields["EMAIL"].toString(), "support@tarnix.example");

    service->writeConfig(QJsonObject{{"failures", QJsonObject{{"/cgi-bin/Notify_unicode", "error500"}}}});
    EXPECT_FALSE(controller.sendErrorReport());
    EXPECT_EQ(alerts.shown.takeLast().message, "Report couldn't be sent successfully.Try again");
}

}  // namespace
