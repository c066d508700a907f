#include "desktop/alerts/views/AlertPanePresenter.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "support/SandboxFixture.h"

#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kFrameSlack = 10;  // the alert is placed before its window frame is known

class AlertPanePresenterTest : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        // Off the screen's centre, so that an alert centred on the screen is not over it.
        const QRect screen = mainWindow.screen()->availableGeometry();
        mainWindow.setGeometry(screen.x(), screen.y(), screen.width() - 60, 400);
        mainWindow.show();
    }

    QPoint alertCentre() const { return AlertPaneWindowController::current()->window()->frameGeometry().center(); }

    QWidget mainWindow;
    AlertPanePresenter alerts{&mainWindow};
};

TEST_F(AlertPanePresenterTest, BackupAlertsShowOverTheMainWindow)
{
    const QPoint expected = mainWindow.frameGeometry().center();
    ASSERT_NE(expected, mainWindow.screen()->availableGeometry().center());

    QPoint modalCentre;
    QTimer::singleShot(0, [&] {
        modalCentre = alertCentre();
        AlertPaneWindowController::current()->okButton()->click();
    });
    EXPECT_EQ(alerts.runModalAlert({"Tarnix", "Proceed?", "Yes", "No", {}, {}}), 1);
    EXPECT_LE((modalCentre - expected).manhattanLength(), kFrameSlack);

    alerts.showAlert({"Tarnix", "Backup operation has completed.", "OK", {}, {}, {}});
    EXPECT_LE((alertCentre() - expected).manhattanLength(), kFrameSlack);
}

}  // namespace
