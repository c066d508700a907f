#pragma once

#include "client/shell/LoginView.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AccountMenuView;
class EncryptionSetupView;
class LoginViewController;
class LoginFormView;
class MAAttachedWindow;
class PrivateKeyView;
class QPushButton;
class QStackedWidget;
class TXMainWindow;

// The floating login window and the account menu, both arrow windows hanging
// from the title strip's login button. The login window shows one page at a
// time: the login form, the encryption set-up page or the private-key page.
class LoginWindows : public QObject, public LoginView
{
    Q_OBJECT
public:
    LoginWindows(TXMainWindow *mainWindow, QPushButton *loginButton);
    ~LoginWindows() override;

    // The pages' buttons act on the login logic.
    void connectActions(LoginViewController &login);

    // --- LoginView ---
    QString userName() const override;
    QString password() const override;
    void setUserNameAndPassword(const QString &userName, const QString &password) override;
    bool rememberMe() const override;
    void setRememberMe(bool checked) override;
    bool ssl() const override;
    void setUserFieldVisible(bool visible) override;
    void setLoginSpinning(bool spinning) override;
    void setErrorText(const QString &html) override;
    void setPreferencesLinkVisible(bool visible) override;
    void showEmailChoices(const QStringList &userNames) override;
    QString chosenEmailAccount() const override;
    KeyType setupKeyType() const override;
    QString setupKey() const override;
    QString setupKeyConfirmation() const override;
    void setSetupError(const QString &text) override;
    void setSetupSpinning(bool spinning) override;
    QString acceptanceKey() const override;
    void clearAcceptanceKey() override;
    void setAcceptanceError(const QString &text) override;
    void openURL(const QUrl &url) override;

    LoginFormView *loginForm() const { return mLoginView; }
    EncryptionSetupView *setupPage() const { return mConfigurationView; }
    PrivateKeyView *privateKeyPage() const { return mEncryptionKeyView; }
    AccountMenuView *accountMenu() const { return mDiconnectView; }

    void showPage(Page page) override;
    Page currentPage() const { return mPage; }

    // Shows the login window (placed again when it is showing already).
    void displayFloatingWindow() override;
    void hideFloatingWindow() override;
    bool isFloatingWindowVisible() const override;
    // The account menu, which never opens over the login window.
    void showDisconnectWindow() override;
    void closeDisconnectWindow() override;
    bool isDisconnectWindowVisible() const;

    MAAttachedWindow *loginWindow() const { return mAttachedWindow.get(); }
    MAAttachedWindow *disconnectWindow() const { return mDisconnectWindow.get(); }

signals:
    // Account-menu items the login logic does not handle.
    void openPreferencesRequested();
    void sendErrorReportRequested();

private:
    std::unique_ptr<MAAttachedWindow> attach(QWidget *view, bool isDisconnectWindow);
    // Takes the view back from a window and lets the window go.
    static void close(std::unique_ptr<MAAttachedWindow> &window);
    void fitPages();

    QPointer<TXMainWindow> mMainWindow;
    QPointer<QPushButton> mLoginButton;
    // The pages and the menu stay owned here; a window only shows them and gives them back.
    std::unique_ptr<QStackedWidget> mPages;
    std::unique_ptr<AccountMenuView> mMenu;
    LoginFormView *mLoginView;
    EncryptionSetupView *mConfigurationView;
    PrivateKeyView *mEncryptionKeyView;
    AccountMenuView *mDiconnectView;
    std::unique_ptr<MAAttachedWindow> mAttachedWindow;
    std::unique_ptr<MAAttachedWindow> mDisconnectWindow;
    Page mPage = Page::LoginForm;
};
