#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class AccountMenuView;
class EncryptionSetupView;
class LoginFormView;
class MAAttachedWindow;
class PrivateKeyView;
class QPushButton;
class QStackedWidget;
class TXMainWindow;

// The floating login window and the account menu, both arrow windows hanging
// from the title strip's login button. The login window shows one page at a
// time: the login form, the encryption set-up page or the private-key page.
class LoginWindows : public QObject
{
    Q_OBJECT
public:
    enum class Page
    {
        LoginForm,
        EncryptionSetup,
        PrivateKey
    };

    LoginWindows(TXMainWindow *mainWindow, QPushButton *loginButton);
    ~LoginWindows() override;

    LoginFormView *loginForm() const { return mLoginView; }
    EncryptionSetupView *setupPage() const { return mConfigurationView; }
    PrivateKeyView *privateKeyPage() const { return mEncryptionKeyView; }
    AccountMenuView *accountMenu() const { return mDiconnectView; }

    void showPage(Page page);
    Page currentPage() const { return mPage; }

    // Shows the login window (placed again when it is showing already).
    void displayFloatingWindow();
    void hideFloatingWindow();
    bool isFloatingWindowVisible() const;
    // The account menu, which never opens over the login window.
    void showDisconnectWindow();
    void closeDisconnectWindow();
    bool isDisconnectWindowVisible() const;

    MAAttachedWindow *loginWindow() const { return mAttachedWindow.get(); }
    MAAttachedWindow *disconnectWindow() const { return mDisconnectWindow.get(); }

private:
    std::unique_ptr<MAAttachedWindow> attach(QWidget *view, bool isDisconnectWindow);
    // Takes the view back from a window and lets the window go.
    static void close(std::unique_ptr<MAAttachedWindow> &window);
    void fitPages();
    // The page's first field to type into takes the keyboard.
    void focusFirstField();

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
