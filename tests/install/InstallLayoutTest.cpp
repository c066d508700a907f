#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

// `cmake --install` into a temporary prefix gives the layout the README describes,
// and the installed programs' keys name the installed files.
namespace {

const QStringList kPrograms{"TarnixVidezud",
                            "QuellonVidezud",
                            "TarnixVidezudMonitor",
                            "QuellonVidezudMonitor",
                            "TarnixVidezudUninstaller",
                            "QuellonVidezudUninstaller",
                            "txruvo"};

class InstallLayoutTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        for (const char *name : {"TX_BIN_DIR", "TX_RESOURCES"})
            mSaved.append({name, qgetenv(name)});
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(TX_CMAKE_COMMAND, {"--install", TX_BUILD_DIR, "--prefix", prefix()});
        ASSERT_TRUE(install.waitForFinished(120000));
        mInstallOutput = QString::fromUtf8(install.readAll());
        ASSERT_EQ(install.exitCode(), 0) << mInstallOutput.toStdString();
    }
    void TearDown() override
    {
        for (const auto &[name, value] : mSaved)
            qputenv(name.constData(), value);
        SandboxFixture::TearDown();
    }

    QString prefix() const { return root() + "/opt/my \"backup\" prefix"; }
    QString folder() const { return prefix() + "/lib/tarnixvidezud"; }

    // Runs as an installed program would: its own folder, and no resources given from outside.
    void actAsInstalledProgram(const char *brand)
    {
        qputenv("TX_BIN_DIR", (folder() + "/bin").toUtf8());
        qunsetenv("TX_RESOURCES");
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
    }

    QString mInstallOutput;
    QList<QPair<QByteArray, QByteArray>> mSaved;
};

TEST_F(InstallLayoutTest, ProgramsResourcesReceiptsAndDesktopEntriesLandInTheirPlaces)
{
    for (const QString &program : kPrograms) {
        const QFileInfo installed(folder() + "/bin/" + program);
        EXPECT_TRUE(installed.isFile() && installed.isExecutable()) << program.toStdString();
    }
    for (const QString resource : {"Tarnix/Localizable.plist", "Quellon/Localizable.plist", "images/windBG.png"})
        EXPECT_TRUE(QFileInfo::exists(folder() + "/resources/" + resource)) << resource.toStdString();

    const struct
    {
        QString program, name;
    } brands[] = {{"TarnixVidezud", "Tarnix Rizered"}, {"QuellonVidezud", "Quellon Videzud"}};
    for (const auto &brand : brands) {
        const QString entry =
            QString::fromUtf8(readText(prefix() + "/share/applications/" + brand.program + ".desktop"));
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n")) << entry.toStdString();
        EXPECT_TRUE(entry.contains("\nName=" + brand.name + "\n")) << entry.toStdString();
        // Quoted, with the quotes of the prefix escaped, as desktop entries want.
        QString program = folder() + "/bin/" + brand.program;
        program.replace("\"", "\\\\\"");
        EXPECT_TRUE(entry.contains("\nExec=\"" + program + "\"\n")) << entry.toStdString();
        const QString receipt = QString::fromUtf8(readText(folder() + "/" + brand.program + ".receipt"));
        EXPECT_TRUE(receipt.startsWith(brand.program + " ")) << receipt.toStdString();
        EXPECT_TRUE(receipt.contains(prefix() + "/share/applications/" + brand.program + ".desktop"));
    }
    // Nothing lands outside the two folders of the layout.
    EXPECT_EQ(QDir(prefix()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"lib", "share"}));
    EXPECT_EQ(QDir(prefix() + "/share").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"applications"});
}

TEST_F(InstallLayoutTest, TheInstalledProgramsKeysNameTheInstalledFiles)
{
    for (const char *brand : {"Tarnix", "Quellon"}) {
        SCOPED_TRACE(brand);
        actAsInstalledProgram(brand);
        const QString product = QString::fromLatin1(brand) + "Videzud";
        EXPECT_EQ(QLLocalizedString("ApplicationsFolder"), folder());
        EXPECT_EQ(QLLocalizedString("RecieptFilePath"), folder() + "/" + product + ".receipt");
        EXPECT_EQ(QLLocalizedString("DesktopEntryPath"), prefix() + "/share/applications/" + product + ".desktop");
        for (const char *key : {"RecieptFilePath", "DesktopEntryPath"})
            EXPECT_TRUE(QFileInfo::exists(QLLocalizedString(key))) << key;
        for (const char *key : {"ApplicationExecPath", "MonitorExecPath", "ExecuterPath"})
            EXPECT_TRUE(QFileInfo(QLLocalizedString(key)).isExecutable())
                << key << " " << QLLocalizedString(key).toStdString();
    }
}

}  // namespace
