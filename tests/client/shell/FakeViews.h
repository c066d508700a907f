#pragma once

#include "client/shell/login/LoginView.h"
#include "client/shell/main/TXMainView.h"
#include "desktop/alerts/AlertPresenter.h"

#include <QList>
#include <QStringList>
#include <QThread>
#include <QUrl>

// The login windows as a record of what the logic showed, with form values a test sets.
struct FakeLoginView : LoginView
{
    QString user, pass, key, confirmation, acceptance, chosenAccount;
    bool remember = true, sslOn = false, floatingVisible = false, spinning = false, setupSpinning = false;
    KeyType keyType = KeyType::Default;
    Page page = Page::LoginForm;
    QString errorHtml, setupError, acceptanceError;
    QStringList emailChoices;
    QList<QUrl> opened;
    int floatingShown = 0;

    QString userName() const override { return user; }
    QString password() const override { return pass; }
    void setUserNameAndPassword(const QString &u, const QString &p) override { user = u, pass = p; }
    bool rememberMe() const override { return remember; }
    void setRememberMe(bool checked) override { remember = checked; }
    bool ssl() const override { return sslOn; }
    void setUserFieldVisible(bool) override {}
    void setLoginSpinning(bool on) override { spinning = on; }
    void setErrorText(const QString &html) override { errorHtml = html; }
    void setPreferencesLinkVisible(bool) override {}
    void showEmailChoices(const QStringList &names) override
    {
        emailChoices = names;
        chosenAccount = names.value(0);
    }
    QString chosenEmailAccount() const override { return chosenAccount; }
    KeyType setupKeyType() const override { return keyType; }
    QString setupKey() const override { return key; }
    QString setupKeyConfirmation() const override { return confirmation; }
    void setSetupError(const QString &text) override { setupError = text; }
    void setSetupSpinning(bool on) override { setupSpinning = on; }
    QString acceptanceKey() const override { return acceptance; }
    void clearAcceptanceKey() override { acceptance.clear(); }
    void setAcceptanceError(const QString &text) override { acceptanceError = text; }
    void showPage(Page shown) override { page = shown; }
    void displayFloatingWindow() override
    {
        floatingVisible = true;
        ++floatingShown;
    }
    void hideFloatingWindow() override { floatingVisible = false; }
    bool isFloatingWindowVisible() const override { return floatingVisible; }
    void showDisconnectWindow() override {}
    void closeDisconnectWindow() override {}
    void openURL(const QUrl &url) override { opened.append(url); }
};

// The main window as a record of what the controller showed; it also presents the
// controller's alerts, which answer from a queue.
struct FakeMainView : TXMainView, AlertPresenter
{
    bool enabled = false, backupMode = true, switchVisible = false;
    QString loginTitle, windowTitle, destination, browseState;
    QThread *browseStateThread = nullptr;
    int quota = -1, spaceRefreshes = 0;
    QList<AlertRequest> alerts;
    QList<int> answers;  // the buttons "pressed", in order; 1 when empty
    QList<QUrl> opened;

    void setEnableViews(bool on) override { enabled = on; }
    void setLoginButtonTitle(const QString &title) override { loginTitle = title; }
    void setWindowTitle(const QString &title) override { windowTitle = title; }
    void displayGuide(bool) override {}
    void displayBackupView() override {}
    void setBackupMode(bool mode) override { backupMode = mode; }
    void setSwitchModeVisible(bool visible) override { switchVisible = visible; }
    void setLoginMode(bool) override {}
    void setQuotaPercentage(int percent) override { quota = percent; }
    void showDestination(const QString &volume) override { destination = volume; }
    void refreshSpaceUsed() override { ++spaceRefreshes; }
    void canHideBrowseButton(const QString &state) override
    {
        browseState = state;
        browseStateThread = QThread::currentThread();
    }
    int runModalAlert(const AlertRequest &alert) override
    {
        alerts.append(alert);
        return answers.isEmpty() ? 1 : answers.takeFirst();
    }
    void showAlert(const AlertRequest &alert) override { alerts.append(alert); }
    void openURL(const QUrl &url) override { opened.append(url); }
};
