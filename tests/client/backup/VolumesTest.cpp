#include "LocalTreeFixture.h"

#include "client/backup/localtree/DestinationVolumes.h"

#include <QSignalSpy>

class VolumesTest : public LocalTreeFixture
{
protected:
    void SetUp() override
    {
        LocalTreeFixture::SetUp();
        QDir().mkpath(volumes() + "/Archive");
        QDir().mkpath(volumes() + "/Photos");
        QDir().mkpath(volumes() + "/.DS_Store");
        writeText(volumes() + "/notes.txt", "a plain file");
        controller().addVolumesToPopupButton();
        controller().monitorVolumes();
        ASSERT_TRUE(settle());
    }

    DestinationVolumes &destinations() { return controller().volumesPopUpButton(); }
};

TEST_F(VolumesTest, TheChooserAndTheTreeOfferTheStartupDiskAndEveryDrive)
{
    EXPECT_EQ(destinations().titles(), QStringList({"Startup", "Archive", "Photos"}));
    EXPECT_EQ(destinations().selectedTitle(), "Startup");
    QStringList topRows;
    for (const TreeViewNode *row : controller().mController().mRootItem()->children())
        topRows.append(row->relativePath());
    EXPECT_EQ(topRows, QStringList({"Desktop", "Music", "Documents", "Pictures", "Archive", "Photos", "Startup"}));
}

TEST_F(VolumesTest, AMountedDriveComesInUncheckedAndJoinsTheChooser)
{
    mount(QStringLiteral("Camera"), {QStringLiteral("DCIM")});
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Camera") != nullptr; }));
    EXPECT_EQ(state(volumes() + "/Camera"), TreeViewNode::Unchecked);
    EXPECT_EQ(destinations().titles(), QStringList({"Startup", "Archive", "Photos", "Camera"}));
    EXPECT_EQ(destinations().selectedTitle(), "Startup");
}

TEST_F(VolumesTest, UnmountingTheChosenDriveChoosesTheStartupDiskAndSaysWhichWent)
{
    QSignalSpy selected(&controller(), &FileSystemController::DestinationDriveSelected);
    destinations().clickedDestMenu(QStringLiteral("Archive"));
    ASSERT_EQ(selected.size(), 1);
    EXPECT_TRUE(selected.takeFirst().at(0).toMap().isEmpty());

    // Another drive going changes the chooser and the tree only.
    QDir(volumes() + "/Photos").removeRecursively();
    ASSERT_TRUE(waitFor([&] { return node(volumes() + "/Photos") == nullptr; }));
    EXPECT_EQ(selected.size(), 0);
    EXPECT_EQ(destinations().selectedTitle(), "Archive");

    QDir(volumes() + "/Archive").removeRecursively();
    ASSERT_TRUE(waitFor([&] { return selected.size() == 1; }));
    EXPECT_EQ(selected.takeFirst().at(0).toMap(), QVariantMap({{"UnmountedVolumnPath", volumes() + "/Archive"}}));
    EXPECT_EQ(destinations().selectedTitle(), "Startup");
    EXPECT_EQ(destinations().titles(), QStringList{"Startup"});
    EXPECT_EQ(node(volumes() + "/Archive"), nullptr);
}
