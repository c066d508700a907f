#pragma once

#include "client/backup/localtree/LocalTreeConnection.h"
#include "client/backup/views/BackupPage.h"
#include "client/backup/views/BackupPageView.h"
#include "client/backup/views/BackupTab.h"
#include "client/backup/views/LocalTreeView.h"
#include "client/logs/views/LogTab.h"
#include "client/shell/main/ProgramServices.h"
#include "client/shell/main/TXMainController.h"
#include "client/shell/views/frame/ClientShell.h"
#include "client/shell/views/frame/ClientWindows.h"
#include "client/shell/views/frame/TXMainWindow.h"
#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginWindows.h"
#include "client/shell/views/sidebar/TXTabViewController.h"
#include "common/files/TXSupportFileManager.h"
#include "common/files/TextFile.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <memory>

// The client as main.cpp puts it together (its Backup and Log tabs; a test that needs the
// Restore tab builds it), against the stand-in web service, with the Backup tab's local
// tree over a sandbox start-up disk and two drives: DataDrive (what is backed up) and
// BackupDrive (the destination).
// Its alerts go to the given presenter, or to the alert panel.
struct ClientWindow
{
    ClientWindow(const LocalVolumeLayout &layout, AlertPresenter *alerts,
                 TXMainControllerServices services = servicesWithoutMonitor())
        : shell(std::move(services))
        , backupTab(shell, alerts, layout)
        , logTab(shell)
    {
        shell.start();
    }

    static TXMainControllerServices servicesWithoutMonitor()
    {
        TXMainControllerServices services = ProgramServices::programServices();
        services.startProgram = {};
        return services;
    }

    ClientShell shell;
    BackupTab backupTab;
    LogTab logTab;
    BackupPage &backup = backupTab.backup;
    LocalTreeConnection &tree = backupTab.tree;
    LocalTreeView *treeView = backupTab.treeView;  // owned by the page
};

class LoggedInClientFixture : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", WebServiceStandIn::demoAccount());
        ASSERT_TRUE(service);
        QDir().mkpath(volumes() + "/BackupDrive");
        QDir().mkpath(volumes() + "/DataDrive/Documents");
        QDir().mkpath(volumes() + "/DataDrive/Music");
        QDir().mkpath(root() + "/startup/home/demo");
        TXSupportFileManager::txFileManager().setTarnixUserName("demo");
        // Written as the client writes it when a drive is chosen.
        ASSERT_TRUE(TextFile::write(
            TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
            volumes() + "/BackupDrive"));
    }

    void TearDown() override
    {
        client.reset();
        service.reset();
        SandboxFixture::TearDown();
    }

    // The client started, its login window open.
    void open(AlertPresenter *alerts = nullptr,
              TXMainControllerServices services = ClientWindow::servicesWithoutMonitor())
    {
        const LocalVolumeLayout layout{volumes(), root() + "/startup", "Startup", root() + "/startup/home/demo"};
        client = std::make_unique<ClientWindow>(layout, alerts, std::move(services));
    }

    // The client, logged in with the demo account by its login window.
    void openLoggedIn(AlertPresenter *alerts = nullptr)
    {
        open(alerts);
        logIn();
    }

    // The open client logs in with the demo account by its login window.
    void logIn()
    {
        LoginFormView *form = client->shell.loginWindows().loginForm();
        form->mUserNameTextField->setText("demo");
        form->mSecureTextField->setText("demo password");
        form->mLoginButton->click();
        ASSERT_TRUE(waitUntil([this] { return client->shell.mainController().isLoggedIn(); }));
    }

    // Checks the folder in the local tree and waits until the set file holds it.
    void check(const QString &volume, const QString &folderName)
    {
        QAbstractItemModel &model = *client->treeView->model();
        const QModelIndex folder = childNamed(model, childNamed(model, {}, volume), folderName);
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(model.setData(folder, Qt::Checked, Qt::CheckStateRole));
        const QString path = volumes() + "/" + volume + "/" + folderName;
        ASSERT_TRUE(waitUntil([&] { return client->backup.controller().backupSet().contains(path); }))
            << client->backup.controller().backupSet().join(", ").toStdString();
    }

    // Answers the next modal alert of the program's alert panel (those of the main controller):
    // the default button for 1, the alternate one for 0. Its texts go to *texts.
    static void answerNextPanel(int answer, QStringList *texts)
    {
        auto *poll = new QTimer;
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer, texts] {
            AlertPaneWindowController *pane = AlertPaneWindowController::current();
            if (!pane || !pane->isModal() || !pane->window()->isVisible())
                return;
            for (const QLabel *label : pane->window()->findChildren<QLabel *>())
                if (!label->text().isEmpty())
                    texts->append(label->text());
            (answer == 1 ? pane->okButton() : pane->cancelButton())->click();
            poll->deleteLater();
        });
        poll->start();
    }

    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!condition() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    // The row named name under parent, listing the parent first; invalid when it never shows.
    static QModelIndex childNamed(QAbstractItemModel &model, const QModelIndex &parent, const QString &name)
    {
        if (model.canFetchMore(parent))
            model.fetchMore(parent);
        QModelIndex found;
        waitUntil([&] {
            for (int row = 0; row < model.rowCount(parent); ++row) {
                const QModelIndex child = model.index(row, 0, parent);
                if (child.data(Qt::DisplayRole).toString() == name)
                    found = child;
            }
            return found.isValid();
        });
        return found;
    }

    std::unique_ptr<WebServiceStandIn> service;
    std::unique_ptr<ClientWindow> client;
};
