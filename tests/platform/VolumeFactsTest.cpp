#include "platform/VolumeFacts.h"
#include "support/SandboxFixture.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>

class VolumeFactsTest : public SandboxFixture
{};

TEST_F(VolumeFactsTest, TheStartUpVolumeIsTheRootFolderOrAnEntryLeadingToIt)
{
    ASSERT_TRUE(QFile::link("/", volumes() + "/Startup"));
    QDir().mkpath(volumes() + "/Backup");
    EXPECT_TRUE(VolumeFacts::isStartupVolume("/"));
    EXPECT_TRUE(VolumeFacts::isStartupVolume(volumes() + "/Startup"));
    EXPECT_FALSE(VolumeFacts::isStartupVolume(volumes() + "/Backup"));
    EXPECT_FALSE(VolumeFacts::isStartupVolume(volumes() + "/Missing"));
}

// A fake sysfs tree: the device entry of the sandbox's own file system leads
// to a place in the device tree, on a USB bus or not.
TEST_F(VolumeFactsTest, UsbIsToldFromTheBlockDevicePlaceInSysfs)
{
    struct stat info
    {};
    ASSERT_EQ(::stat(QFile::encodeName(volumes()).constData(), &info), 0);
    const QString device = QStringLiteral("%1:%2").arg(major(info.st_dev)).arg(minor(info.st_dev));
    const struct
    {
        const char *devicePlace;  // under <sys>/devices; null: no entry for the device
        bool usb;
    } cases[] = {
        {"pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb/sdb1", true},
        {"pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda1", false},
        {"virtual/block/usbdisk0", false},
        {nullptr, false},
    };
    for (const auto &test : cases) {
        const QString sys = root() + "/sys-" + QString::number(&test - cases);
        QDir().mkpath(sys + "/dev/block");
        if (test.devicePlace) {
            QDir().mkpath(sys + "/devices/" + test.devicePlace);
            ASSERT_TRUE(QFile::link(sys + "/devices/" + test.devicePlace, sys + "/dev/block/" + device));
        }
        EXPECT_EQ(VolumeFacts::isConnectedViaUsb(volumes(), sys), test.usb)
            << (test.devicePlace ? test.devicePlace : "none");
    }
    EXPECT_FALSE(VolumeFacts::isConnectedViaUsb(volumes() + "/Missing"));
}

TEST_F(VolumeFactsTest, UsedBytesOfAVolumeAndNoneOfAMissingPath)
{
    EXPECT_GT(VolumeFacts::usedBytes("/"), 0u);
    EXPECT_EQ(VolumeFacts::usedBytes(root() + "/missing/place"), 0u);
}
