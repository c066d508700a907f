#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/main/ProgramServices.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class ClientShellTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", WebServiceStandIn::demoAccount());
        ASSERT_TRUE(service);
    }

    static bool waitUntil(const std::function<bool()> &condition)
    {
        QDeadlineTimer deadline(10000);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    std::unique_ptr<WebServiceStandIn> service;
};

TEST_F(ClientShellTest, TheLoginFormLogsTheUserIn)
{
    // The program's services, less the monitor: the index manager runs on the chosen drive.
    TXMainControllerServices services = ProgramServices::programServices();
    services.startProgram = {};
    const QString drive = volumes() + "/BackupDrive";
    QDir().mkpath(drive);
    TXSupportFileManager::txFileManager().setTarnixUserName("demo");
    writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
              drive.toUtf8());
    ClientShell shell(services);
    shell.start();
    LoginWindows &login = shell.loginWindows();
    ASSERT_TRUE(login.isFloatingWindowVisible());  // first start: the form

    LoginFormView *form = login.loginForm();
    form->mUserNameTextField->setText("demo");
    form->mSecureTextField->setText("wrong");
    form->mLoginButton->click();
    ASSERT_TRUE(waitUntil([&] { return form->mErrorLabel->text().contains("Invalid username or password"); }));
    EXPECT_FALSE(shell.mainController().isLoggedIn());

    form->mSecureTextField->setText("demo password");
    form->mLoginButton->click();
    ASSERT_TRUE(waitUntil([&] { return shell.mainController().isLoggedIn(); }))
        << form->mErrorLabel->text().toStdString();
    EXPECT_FALSE(login.isFloatingWindowVisible());
    EXPECT_EQ(shell.windows().tabViewController()->loginButton()->text(), "demo");
    EXPECT_EQ(shell.windows().loggedInUserName(), "demo");
    EXPECT_NE(shell.mainController().dbManager(), nullptr);

    // The quota through the engine: the stand-in's 10 GiB account, stored for the monitor.
    writeText(drive + "/TarnixVidezud/demo/Computer/file", QByteArray(3072, 'x'));
    shell.mainController().calQuota();
    const QString userDetails =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::UserDetailsPath);
    ASSERT_TRUE(waitUntil([&] { return PropertyList::readDictionary(userDetails).contains("TOTALQUOTASIZE"); }));
    EXPECT_EQ(
        quellonExtension::decryptedString(PropertyList::readDictionary(userDetails).value("TOTALQUOTASIZE").toString()),
        "10240.000000");
}

}  // namespace
