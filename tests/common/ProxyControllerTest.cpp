#include "common/proxy/ProxyController.h"
#include "common/categories/QuellonExtension.h"
#include "common/proxy/ProxyCheckBoxStateFile.h"
#include "common/proxy/ProxySettingFile.h"
#include "platform/PropertyList.h"
#include "support/SandboxFixture.h"

#include <QFile>
#include <QFileInfo>

namespace {

class ProxySettingsTest : public SandboxFixture
{
protected:
    QString settingFile() const { return home() + "/ProxySetting.plist"; }

    void writeSetting(const QVariantMap &setting) { ASSERT_TRUE(PropertyList::write(settingFile(), setting)); }

    static QVariantMap enabledSetting(const QVariant &enable, const QVariant &authEnable, const QString &userName,
                                      const QString &password, const QString &address = "proxy.example.net",
                                      const QString &port = "3128")
    {
        return {{"ProxyEnable", enable},     {"ProxyAuthEnable", authEnable},
                {"ProxyAddress", address},   {"ProxyPort", port},
                {"ProxyUserName", userName}, {"ProxyPassword", quellonExtension::encryptedString(password)}};
    }

    static ProxyData fields(const QString &address, const QString &port, const QString &userName = "",
                            const QString &password = "")
    {
        ProxyData data;
        data.setIpaddress(address);
        data.setPort(port);
        data.setUserName(userName);
        data.setPassword(password);
        return data;
    }

    static void writeCheckStates(const QString &enable, const QString &authEnable)
    {
        ASSERT_TRUE(ProxyCheckBoxStateFile::write({{"ProxyEnable", enable}, {"ProxyAuthEnable", authEnable}}));
    }
};

TEST(ProxyDataTest, UnsetFieldsReadAsEmptyText)
{
    ProxyData data;
    for (const QString &value : {data.userName(), data.password(), data.ipaddress(), data.port()}) {
        EXPECT_FALSE(value.isNull());
        EXPECT_TRUE(value.isEmpty());
    }
    data.setUserName("alice");
    data.setPort("8080");
    data.clearProxyData();
    EXPECT_EQ(data.userName(), "");
    EXPECT_EQ(data.port(), "");
    EXPECT_EQ(ProxyController().proxyArgument(), "--proxy=");
}

TEST_F(ProxySettingsTest, SettingFileToProxyArgument)
{
    const struct
    {
        const char *name;
        QVariantMap setting;
        QString argument;
    } cases[] = {
        {"disabled", enabledSetting(0, 1, "alice", "secret"), "--proxy="},
        {"enable absent", {{"ProxyAddress", "proxy.example.net"}, {"ProxyPort", "3128"}}, "--proxy="},
        {"enabled without authentication keeps no credentials", enabledSetting(1, 0, "alice", "secret"),
         "--proxy=:@proxy.example.net:3128"},
        {"enable 2 counts as enabled", enabledSetting(2, 0, "alice", "secret"), "--proxy=:@proxy.example.net:3128"},
        {"enable as text", enabledSetting("1", "1", "alice", "secret"), "--proxy=alice:secret@proxy.example.net:3128"},
        {"credentials", enabledSetting(1, 1, "alice", "secret"), "--proxy=alice:secret@proxy.example.net:3128"},
        {"authentication 2 is not 1", enabledSetting(1, 2, "alice", "secret"), "--proxy=:@proxy.example.net:3128"},
        {"user name with an empty address", enabledSetting(1, 1, "alice", "secret", ""), "--proxy=alice:secret@:3128"},
        {"no user name", enabledSetting(1, 1, "", "secret"), "--proxy=:@proxy.example.net:3128"},
        {"separators in credentials are escaped", enabledSetting(1, 1, "corp\\al:ice", "p@ss:w%rd/"),
         "--proxy=corp%5Cal%3Aice:p%40ss%3Aw%25rd%2F@proxy.example.net:3128"},
        {"non-ASCII password as UTF-8", enabledSetting(1, 1, "alice", "pässwörd"),
         "--proxy=alice:p%C3%A4ssw%C3%B6rd@proxy.example.net:3128"},
        {"IPv4 address", enabledSetting(1, 0, "", "", "10.0.0.8", "80"), "--proxy=:@10.0.0.8:80"},
        {"address that would reroute the engine", enabledSetting(1, 1, "alice", "secret", "evil@host"), "--proxy="},
        {"port with a separator", enabledSetting(1, 0, "", "", "proxy.example.net", "80:90"), "--proxy="},
    };
    for (const auto &c : cases) {
        writeSetting(c.setting);
        EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), c.argument) << c.name;
    }
}

TEST_F(ProxySettingsTest, UnusableFileMeansNoProxy)
{
    EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), "--proxy=") << "missing";
    EXPECT_EQ(ProxyController(QString()).proxyArgument(), "--proxy=") << "no path";
    for (const QByteArray &content : {QByteArray(), QByteArray("<plist><dict><key>ProxyEnable"),
                                      QByteArray("\x00\x01garbage", 9), PropertyList::toData(QVariantList{1, 2})}) {
        writeText(settingFile(), content);
        const ProxyController controller(settingFile());
        EXPECT_EQ(controller.proxyArgument(), "--proxy=") << content.toHex().constData();
        EXPECT_EQ(controller.proxyData().ipaddress(), "");
    }
}

TEST_F(ProxySettingsTest, SaveNeedsTheCheckBoxStates)
{
    EXPECT_EQ(ProxySettingFile::save(settingFile(), fields("proxy.example.net", "3128")),
              ProxySettingFile::kSaveNoCheckStates);
    EXPECT_FALSE(QFileInfo::exists(settingFile()));
}

TEST_F(ProxySettingsTest, SaveWritesCredentialsOnlyForAnEnabledProxy)
{
    writeCheckStates("1", "1");
    ASSERT_EQ(ProxySettingFile::save(settingFile(), fields(" proxy.example.net ", "3128 ", "alice", "s3cr:t@")),
              ProxySettingFile::kSaveWritten);
    const QVariantMap saved = ProxySettingFile::read(settingFile()).value_or(QVariantMap());
    EXPECT_EQ(saved.value("ProxyEnable"), QVariant(qint64(1)));
    EXPECT_EQ(saved.value("ProxyAuthEnable"), QVariant(qint64(1)));
    EXPECT_EQ(saved.value("ProxyAddress"), "proxy.example.net");
    EXPECT_EQ(saved.value("ProxyPort"), "3128");
    EXPECT_EQ(saved.value("ProxyUserName"), "alice");
    EXPECT_NE(saved.value("ProxyPassword"), "s3cr:t@");
    EXPECT_EQ(ProxySettingFile::password(saved), "s3cr:t@");
    EXPECT_EQ(QFile::permissions(settingFile()) & 0x7077, PropertyList::kOwnerReadWrite);  // owner, group, other
    EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), "--proxy=alice:s3cr%3At%40@proxy.example.net:3128");

    // No proxy keeps only the two states: the file is replaced whole. The system's
    // proxy (2), copied into the fields, keeps its address for the engine.
    writeCheckStates("0", "0");
    ASSERT_EQ(ProxySettingFile::save(settingFile(), fields("proxy.example.net", "3128", "alice", "pw")),
              ProxySettingFile::kSaveWritten);
    const QVariantMap flagsOnly = ProxySettingFile::read(settingFile()).value_or(QVariantMap());
    EXPECT_EQ(flagsOnly.keys(), QStringList({"ProxyAuthEnable", "ProxyEnable"}));
    writeCheckStates("2", "0");
    ASSERT_EQ(ProxySettingFile::save(settingFile(), fields("system.example.net", "8080", "", "")),
              ProxySettingFile::kSaveWritten);
    EXPECT_EQ(ProxyController(settingFile()).proxyArgument(), "--proxy=:@system.example.net:8080");

    // A disabled proxy needs no address.
    writeCheckStates("0", "1");
    EXPECT_EQ(ProxySettingFile::save(settingFile(), fields("", "")), ProxySettingFile::kSaveWritten);
}

TEST_F(ProxySettingsTest, SaveRefusesMissingOrInvalidFieldsAndKeepsTheFile)
{
    writeSetting(enabledSetting(1, 0, "", ""));
    const QByteArray before = readText(settingFile());
    const struct
    {
        const char *enable;
        const char *authEnable;
        ProxyData fields;
    } cases[] = {
        {"1", "0", fields("", "3128")},
        {"1", "0", fields("proxy.example.net", "")},
        {"1", "0", fields("proxy example", "3128")},
        {"1", "0", fields("user@proxy.example.net", "3128")},
        {"1", "0", fields("proxy.example.net:8080", "3128")},
        {"1", "0", fields("proxy.example.net", "0")},
        {"1", "0", fields("proxy.example.net", "65536")},
        {"1", "0", fields("proxy.example.net", "http")},
        {"1", "0", fields("proxy.example.net", "-80")},
        {"1", "1", fields("proxy.example.net", "3128", "", "secret")},
        {"1", "1", fields("proxy.example.net", "3128", "alice", "")},
        {"2", "0", fields("", "3128")},
    };
    for (const auto &c : cases) {
        writeCheckStates(c.enable, c.authEnable);
        QString reason;
        EXPECT_EQ(ProxySettingFile::save(settingFile(), c.fields, &reason), ProxySettingFile::kSaveRefused)
            << c.fields.ipaddress().toStdString() << " / " << c.fields.port().toStdString();
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_EQ(readText(settingFile()), before);
}

TEST_F(ProxySettingsTest, SaveThatCannotWriteIsNotASuccess)
{
    writeCheckStates("1", "0");
    const QString folderInTheWay = home() + "/taken";
    ASSERT_TRUE(QDir().mkpath(folderInTheWay));
    for (const QString &path : {folderInTheWay, QString("ProxySetting.plist"), QString()}) {
        QString reason;
        EXPECT_EQ(ProxySettingFile::save(path, fields("proxy.example.net", "3128"), &reason),
                  ProxySettingFile::kSaveRefused)
            << path.toStdString();
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists("ProxySetting.plist"));
}

TEST(ProxyAddressTest, AcceptsHostNamesAndAddressesOnly)
{
    for (const char *good : {"proxy", "proxy.example.net", "10.1.2.3", "my-proxy.corp", "[fe80::1]", "p_x.local."})
        EXPECT_TRUE(ProxySettingFile::isValidAddress(good)) << good;
    for (const char *bad : {"", "-proxy", "proxy..net", "a b", "a@b", "a:8080", "http://proxy", "a/b", "fe80::1",
                            "proxy\n", "[fe80::1]\n"})
        EXPECT_FALSE(ProxySettingFile::isValidAddress(bad)) << bad;
    EXPECT_FALSE(ProxySettingFile::isValidAddress(QString(254, 'a')));
    for (const char *good : {"1", "80", "65535"})
        EXPECT_TRUE(ProxySettingFile::isValidPort(good)) << good;
    for (const char *bad : {"", "0", "65536", "080000", " 80", "8o", "+80", "80\n"})
        EXPECT_FALSE(ProxySettingFile::isValidPort(bad)) << bad;
}

}  // namespace
