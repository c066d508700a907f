#include "LoggedInClientFixture.h"

#include "client/shell/login/LoginViewController.h"
#include "client/shell/views/login/MAAttachedWindow.h"

#include <QApplication>
#include <QTest>

// The client as a user meets it at start: nothing on the Backup page answers
// before a login, and the login window takes what is typed on the keyboard.
class LoginInTheWindowTest : public LoggedInClientFixture
{
protected:
    // The Backup page's controls a user works with, by their texts, and the tree and chooser.
    QList<QWidget *> backupControls() const
    {
        BackupPageView &page = *client->backup.page();
        QList<QWidget *> controls{page.volumesPopUpButton(), client->treeView};
        for (QPushButton *button : page.findChildren<QPushButton *>()) {
            if (QStringList{"Backup Now", "Cleanup Now", "Exclusions...", "Delete"}.contains(button->text()))
                controls.append(button);
        }
        return controls;
    }

    static QStringList enabledOf(const QList<QWidget *> &controls)
    {
        QStringList enabled;
        for (const QWidget *control : controls) {
            if (control->isEnabled())
                enabled.append(control->metaObject()->className() + QStringLiteral(" ") +
                               control->property("text").toString());
        }
        return enabled;
    }
};

TEST_F(LoginInTheWindowTest, BackupControlsAnswerOnlyWhileAUserIsLoggedIn)
{
    open();
    const QList<QWidget *> controls = backupControls();
    ASSERT_EQ(controls.size(),
              8);  // the chooser, the tree, Backup Now, Cleanup Now; Exclusions and Delete of both set lists
    EXPECT_EQ(enabledOf(controls), QStringList()) << "before a login";

    LoginFormView *form = client->shell.loginWindows().loginForm();
    form->mUserNameTextField->setText("demo");
    form->mSecureTextField->setText("demo password");
    form->mLoginButton->click();
    ASSERT_TRUE(waitUntil([this] { return client->shell.mainController().isLoggedIn(); }));
    EXPECT_EQ(enabledOf(controls).size(), controls.size()) << enabledOf(controls).join(", ").toStdString();

    client->shell.mainController().loginViewController().DisconnectAccount();
    EXPECT_EQ(enabledOf(controls), QStringList()) << "after a disconnect";
}

TEST_F(LoginInTheWindowTest, TheLoginWindowTakesTheKeyboard)
{
    open();
    MAAttachedWindow *window = client->shell.loginWindows().loginWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    LoginFormView *form = client->shell.loginWindows().loginForm();
    // Typed as a user types: into whatever has the keyboard, Tab to the next field, Return.
    QTest::keyClicks(QApplication::focusWidget(), "demo");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "demo password");
    EXPECT_EQ(form->mUserNameTextField->text(), "demo");
    EXPECT_EQ(form->mSecureTextField->text(), "demo password");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(waitUntil([this] { return client->shell.mainController().isLoggedIn(); }));
}

TEST_F(LoginInTheWindowTest, ALongLoginErrorIsShownWholeOverItsLines)
{
    open();
    LoginWindows &login = client->shell.loginWindows();
    LoginFormView *form = login.loginForm();
    form->setErrorText(LoginViewController::failureText(
        "Unable to connect to Tarnix. Reason: Account has been canceled. Please contact the support team of your "
        "company, who can tell you why and reactivate it.",
        "demo"));
    login.displayFloatingWindow();
    QCoreApplication::processEvents();
    QLabel *error = form->mErrorLabel;
    ASSERT_TRUE(error->isVisible());
    EXPECT_GT(error->heightForWidth(error->width()), 2 * error->fontMetrics().height());  // it wraps
    EXPECT_GE(error->height(), error->heightForWidth(error->width()));                    // and every line shows
    QWidget *window = login.loginWindow();
    EXPECT_LE(error->mapTo(window, QPoint(0, error->height())).y(), window->height());  // inside the window
    EXPECT_GE(form->height(), form->minimumSizeHint().height());  // nothing of the form is squeezed
}
