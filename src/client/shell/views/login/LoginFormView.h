#pragma once

#include <QWidget>

class NSButtonHover;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The login form shown in the floating login window: user name (or the
// choice among the accounts of an e-mail address), password, remember-me and
// SSL boxes, the login button with its spinner, the error text with its
// links, the "Preferences" link, and the forgot-password and sign-up links.
class LoginFormView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 240;
    static constexpr int kWidth = 320;

    explicit LoginFormView(QWidget *parent = nullptr);

    QLineEdit *mUserNameTextField = nullptr;
    QLineEdit *mSecureTextField = nullptr;
    QCheckBox *mRememberMeCheckBox = nullptr;
    QCheckBox *SSLCheckBox = nullptr;
    QComboBox *mEmailListBox = nullptr;
    QPushButton *mLoginButton = nullptr;
    QProgressBar *mLoginAnimation = nullptr;
    QLabel *mErrorLabel = nullptr;
    NSButtonHover *mPreferencesButton = nullptr;

    // Shows the error text (rich text; "" hides it) and grows the form to hold
    // it: one line keeps the form's height, a taller text adds its height to it.
    void setErrorText(const QString &html);
    QSize sizeHint() const override { return {kWidth, mHeight}; }

signals:
    void performLogin();
    void rememberMe(bool checked);
    void openPreferences();
    void forgotPassword();
    void signUp();
    void linkActivated(const QString &link);
    void closeButtonClicked();
    void emailAccountChosen(const QString &userName);

private:
    int mHeight = kHeight;
};
