#pragma once

#include "FakeViews.h"
#include "client/shell/main/TXMainController.h"
#include "support/SandboxFixture.h"
#include "support/WebServiceStandIn.h"

#include "common/files/TXSupportFileManager.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <atomic>
#include <functional>
#include <memory>

// A client without windows against the stand-in web service and the stand-in
// engine, inside a sandbox: fake views, a quota the test answers, and index
// workers that only count.
class LoginFixture : public SandboxFixture
{
protected:
    static QString pathOf(ApplicationFile file)
    {
        return TXSupportFileManager::txFileManager().pathForApplicationFile(file);
    }

    struct CountingIndexWorker : IndexWorker
    {
        explicit CountingIndexWorker(std::atomic<int> &alive)
            : mAlive(alive)
        {
            ++mAlive;
        }
        ~CountingIndexWorker() override { --mAlive; }
        void start(QLApplicationDelegate &) override {}
        TarnixDBManager *dbManager() override { return nullptr; }
        std::atomic<int> &mAlive;
    };

    void SetUp() override
    {
        SandboxFixture::SetUp();
        service = WebServiceStandIn::startForClient(root() + "/webservice", accounts());
        ASSERT_TRUE(service);
    }

    void TearDown() override
    {
        controller.reset();
        service.reset();
        SandboxFixture::TearDown();
    }

    static QJsonObject accounts()
    {
        return QJsonObject{
            {"accounts",
             QJsonArray{QJsonObject{{"username", "demo"},
                                    {"password", "demo password"},
                                    {"enctype", "default"},
                                    {"username_sync", "demo.sync"},
                                    {"password_sync", "sync password"},
                                    {"email", "demo@example.com"},
                                    {"quota", "5120"},
                                    {"plan", "Personal"}},
                        QJsonObject{{"username", "private"},
                                    {"password", "private password"},
                                    {"enctype", "private"},
                                    {"pvtkey", "my-private-key"}},
                        QJsonObject{{"username", "fresh"}, {"password", "fresh password"}, {"cnfgstat", "NOT SET"}},
                        QJsonObject{{"username", "plain"}, {"password", "plain password"}}}},
            {"syncAccounts", QJsonArray{QJsonObject{{"username", "demo.sync"},
                                                    {"password", "sync password"},
                                                    {"ruvosrvrip", "127.0.0.9"},
                                                    {"ruvowebsrvrip", "127.0.0.8"}}}},
        };
    }

    // A new client, as at a program start; the test's quota answer goes to every measurement.
    TXMainController &startClient()
    {
        controller.reset();
        mainView = std::make_unique<FakeMainView>();
        loginView = std::make_unique<FakeLoginView>();
        TXMainControllerServices services;
        services.makeIndexWorker = [this] { return std::make_unique<CountingIndexWorker>(indexWorkersAlive); };
        services.measureQuota = [this](TXMainController &, auto done) {
            ++quotaMeasurements;
            done(quotaAnswer);
        };
        controller = std::make_unique<TXMainController>(*mainView, *loginView, *mainView, services, timings);
        controller->awakeFromNib();
        return *controller;
    }

    // The drive the user's next login takes as its destination.
    QString chooseDrive(const QString &user, const QString &volume = QStringLiteral("Drive"))
    {
        const QString path = volumes() + '/' + volume;
        QDir().mkpath(path);
        TXSupportFileManager::txFileManager().setTarnixUserName(user);
        writeText(TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::DestinationDrivePath),
                  path.toUtf8());
        return path;
    }

    // Runs the event loop until the condition holds; false after the time limit.
    static bool waitUntil(const std::function<bool()> &condition, int milliseconds = 10000)
    {
        QDeadlineTimer deadline(milliseconds);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    // Types the credentials into the form and presses the login button; waits for the answer.
    bool logIn(const QString &user, const QString &password)
    {
        loginView->user = user;
        loginView->pass = password;
        const int shownBefore = loginView->floatingShown;
        mainView->enabled = false;
        controller->loginViewController().performLogin();
        return waitUntil([&] { return mainView->enabled || loginView->floatingShown > shownBefore; });
    }

    std::unique_ptr<WebServiceStandIn> service;
    std::unique_ptr<FakeMainView> mainView;
    std::unique_ptr<FakeLoginView> loginView;
    std::unique_ptr<TXMainController> controller;
    std::optional<QVariantMap> quotaAnswer;
    TXMainControllerTimings timings = [] {
        TXMainControllerTimings shorter;
        shorter.login.validator.accountDetails = std::chrono::milliseconds(5000);
        shorter.login.validator.emailLookup = std::chrono::milliseconds(5000);
        shorter.syncRequest = std::chrono::milliseconds(5000);
        return shorter;
    }();
    int quotaMeasurements = 0;
    std::atomic<int> indexWorkersAlive{0};  // a stopped worker ends on another thread
};
