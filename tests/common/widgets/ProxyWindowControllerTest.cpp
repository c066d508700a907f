#include "common/widgets/ProxyWindowController.h"
#include "common/categories/QuellonExtension.h"
#include "common/context/ProgramContext.h"
#include "common/proxy/ProxyCheckBoxStateFile.h"
#include "common/proxy/ProxyController.h"
#include "common/proxy/ProxySettingFile.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const char *const kProxyVariables[] = {"https_proxy", "HTTPS_PROXY", "http_proxy", "HTTP_PROXY",
                                       "all_proxy",   "ALL_PROXY",   "no_proxy",   "NO_PROXY"};

class ProxyWindowControllerTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        for (const char *name : kProxyVariables) {
            mSavedProxyVariables.append({name, qgetenv(name)});
            qunsetenv(name);
        }
    }

    void TearDown() override
    {
        for (const auto &[name, value] : mSavedProxyVariables) {
            if (value.isNull())
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), value);
        }
        SandboxFixture::TearDown();
    }

    QString settingFile() const { return home() + "/ProxySetting.plist"; }

    static QVariantMap checkStates() { return ProxyCheckBoxStateFile::read().value_or(QVariantMap()); }

private:
    QList<QPair<QByteArray, QByteArray>> mSavedProxyVariables;
};

TEST_F(ProxyWindowControllerTest, LoadsTheSettingFileIntoTheWindow)
{
    ASSERT_TRUE(PropertyList::write(settingFile(),
                                    QVariantMap{{"ProxyEnable", 1},
                                                {"ProxyAuthEnable", 1},
                                                {"ProxyAddress", "proxy.example.net"},
                                                {"ProxyPort", "3128"},
                                                {"ProxyUserName", "alice"},
                                                {"ProxyPassword", quellonExtension::encryptedString("pa:ss@")}}));
    ProxyWindowController controller(settingFile());
    controller.show();
    EXPECT_TRUE(controller.window()->isVisible());
    EXPECT_TRUE(controller.proxyEnableBox()->isChecked());
    EXPECT_TRUE(controller.proxyAuthEnableBox()->isChecked());
    EXPECT_EQ(controller.addressField()->text(), "proxy.example.net");
    EXPECT_EQ(controller.portField()->text(), "3128");
    EXPECT_EQ(controller.userNameField()->text(), "alice");
    EXPECT_EQ(controller.passwordField()->text(), "pa:ss@");
    EXPECT_TRUE(controller.userNameField()->isEnabled());
    // Opening mirrors both boxes, so saving straight away keeps the credentials.
    EXPECT_EQ(checkStates(), (QVariantMap{{"ProxyEnable", "1"}, {"ProxyAuthEnable", "1"}}));
    EXPECT_EQ(controller.SaveSetting(), ProxySettingFile::kSaveWritten);
    EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), "--proxy=alice:pa%3Ass%40@proxy.example.net:3128");
}

TEST_F(ProxyWindowControllerTest, CheckBoxesDriveTheFieldsAndTheStateFile)
{
    ProxyWindowController controller(settingFile());
    controller.show();
    EXPECT_FALSE(controller.proxyEnableBox()->isChecked());
    EXPECT_FALSE(controller.addressField()->isEnabled());
    EXPECT_FALSE(controller.proxyAuthEnableBox()->isEnabled());
    EXPECT_FALSE(controller.systemProxyButton()->isEnabled());
    EXPECT_EQ(checkStates(), (QVariantMap{{"ProxyEnable", "0"}, {"ProxyAuthEnable", "0"}}));

    controller.proxyEnableBox()->click();
    EXPECT_TRUE(controller.addressField()->isEnabled());
    EXPECT_TRUE(controller.systemProxyButton()->isEnabled());
    EXPECT_FALSE(controller.userNameField()->isEnabled());
    controller.proxyAuthEnableBox()->click();
    EXPECT_TRUE(controller.userNameField()->isEnabled());
    EXPECT_TRUE(controller.passwordField()->isEnabled());
    EXPECT_EQ(checkStates(), (QVariantMap{{"ProxyEnable", "1"}, {"ProxyAuthEnable", "1"}}));

    // Unchecking the proxy unchecks authentication too.
    controller.proxyEnableBox()->click();
    EXPECT_FALSE(controller.proxyAuthEnableBox()->isChecked());
    EXPECT_FALSE(controller.passwordField()->isEnabled());
    EXPECT_EQ(checkStates(), (QVariantMap{{"ProxyEnable", "0"}, {"ProxyAuthEnable", "0"}}));
}

TEST_F(ProxyWindowControllerTest, SaveValidatesWhatTheUserTyped)
{
    ProxyWindowController controller(settingFile());
    controller.show();
    controller.proxyEnableBox()->click();
    controller.addressField()->setText("proxy.example.net");
    controller.portField()->setText("99999");
    QString reason;
    EXPECT_EQ(controller.SaveSetting(&reason), ProxySettingFile::kSaveRefused);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(settingFile()));

    controller.portField()->setText("8080");
    EXPECT_EQ(controller.SaveSetting(), ProxySettingFile::kSaveWritten);
    EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), "--proxy=:@proxy.example.net:8080");

    // The Save button closes a saved window.
    controller.saveButton()->click();
    EXPECT_FALSE(controller.window()->isVisible());
}

TEST_F(ProxyWindowControllerTest, SystemProxyPrefersHttpsThenHttp)
{
    ProxyWindowController controller(settingFile());
    controller.show();

    qputenv("http_proxy", "http://plain.example.net:3128/");
    qputenv("HTTPS_PROXY", "secure.example.net:8443");
    controller.GetProxySetting();
    EXPECT_EQ(controller.addressField()->text(), "secure.example.net");
    EXPECT_EQ(controller.portField()->text(), "8443");
    EXPECT_TRUE(controller.proxyEnableBox()->isChecked());
    EXPECT_TRUE(controller.addressField()->isEnabled());
    EXPECT_EQ(checkStates().value("ProxyEnable"), "1");

    qunsetenv("HTTPS_PROXY");
    controller.GetProxySetting();
    EXPECT_EQ(controller.addressField()->text(), "plain.example.net");
    EXPECT_EQ(controller.portField()->text(), "3128");
}

TEST_F(ProxyWindowControllerTest, NoSystemProxyClearsTheFieldsAndTellsTheUser)
{
    ProxyWindowController controller(settingFile());
    controller.show();
    controller.proxyEnableBox()->click();
    controller.addressField()->setText("old.example.net");

    QString shownMessage;
    QTimer::singleShot(0, [&] {
        AlertPaneWindowController *alert = AlertPaneWindowController::current();
        ASSERT_NE(alert, nullptr);
        EXPECT_TRUE(alert->isModal());
        for (const QLabel *label : alert->window()->findChildren<QLabel *>())
            if (label->wordWrap())
                shownMessage = label->text();
        alert->okButton()->click();
    });
    controller.GetProxySetting();
    EXPECT_EQ(shownMessage, "Internet proxy settings are currently disabled.");
    EXPECT_EQ(controller.addressField()->text(), "");
    EXPECT_FALSE(controller.proxyEnableBox()->isChecked());
    EXPECT_EQ(checkStates().value("ProxyEnable"), "0");
}

TEST_F(ProxyWindowControllerTest, HelpPageFollowsTheBrand)
{
    const struct
    {
        const char *program;
        const char *page;
    } brands[] = {{"TarnixVidezud", "/TarnixHelp/html/proxy.htm"}, {"QuellonVidezud", "/QuellonHelp/pages/proxy.htm"}};
    for (const auto &brand : brands) {
        qputenv("TX_BRAND", brand.program);
        ProgramContext::current().texts().reload();
        const QString page = ProxyWindowController::proxyHelpPagePath();
        EXPECT_TRUE(page.endsWith(brand.page)) << page.toStdString();
        EXPECT_TRUE(QFileInfo(page).isFile()) << page.toStdString();
    }
}

}  // namespace
