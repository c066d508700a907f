#include "client/shell/views/login/LoginFormView.h"

#include "client/shell/views/login/LoginPageParts.h"
#include "client/shell/views/login/NSButtonHover.h"
#include "common/texts/QLLocalizedString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {
constexpr int kErrorMargin = 265;
constexpr int kOneLineHeight = 14;
}  // namespace

LoginFormView::LoginFormView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout =
        LoginPageParts::pageLayout(this, tr("Login to %1").arg(QLLocalizedString(QStringLiteral("ApplicationName"))),
                                   [this] { emit closeButtonClicked(); });
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    mUserNameTextField = new QLineEdit(this);
    mUserNameTextField->setPlaceholderText(tr("Username or e-mail address"));
    mEmailListBox = new QComboBox(this);
    mEmailListBox->setEditable(false);
    mEmailListBox->hide();
    mSecureTextField = new QLineEdit(this);
    mSecureTextField->setEchoMode(QLineEdit::Password);
    mSecureTextField->setPlaceholderText(tr("Password"));
    grid->addWidget(LoginPageParts::fieldLabel(tr("Username"), this), 0, 0);
    grid->addWidget(mUserNameTextField, 0, 1);
    grid->addWidget(mEmailListBox, 0, 1);
    grid->addWidget(LoginPageParts::fieldLabel(tr("Password"), this), 1, 0);
    grid->addWidget(mSecureTextField, 1, 1);
    layout->addLayout(grid);

    auto *boxes = new QHBoxLayout;
    mRememberMeCheckBox = new QCheckBox(tr("Remember me"), this);
    mRememberMeCheckBox->setChecked(true);
    SSLCheckBox = new QCheckBox(tr("Use SSL"), this);
    boxes->addWidget(mRememberMeCheckBox);
    boxes->addWidget(SSLCheckBox);
    boxes->addStretch();
    layout->addLayout(boxes);

    mErrorLabel = LoginPageParts::errorLabel(this);
    connect(mErrorLabel, &QLabel::linkActivated, this, &LoginFormView::linkActivated);
    layout->addWidget(mErrorLabel);
    mPreferencesButton = new NSButtonHover(tr("Preferences"), this);
    mPreferencesButton->hide();
    layout->addWidget(mPreferencesButton);

    auto *actions = new QHBoxLayout;
    auto *forgot = new NSButtonHover(tr("Forgot password?"), this);
    auto *signUp = new NSButtonHover(tr("Sign up"), this);
    mLoginAnimation = LoginPageParts::spinner(this);
    mLoginButton = new QPushButton(tr("Login"), this);
    mLoginButton->setDefault(true);
    actions->addWidget(forgot);
    actions->addWidget(signUp);
    actions->addStretch();
    actions->addWidget(mLoginAnimation);
    actions->addWidget(mLoginButton);
    layout->addStretch();
    layout->addLayout(actions);

    connect(mLoginButton, &QPushButton::clicked, this, &LoginFormView::performLogin);
    connect(mSecureTextField, &QLineEdit::returnPressed, this, &LoginFormView::performLogin);
    connect(mRememberMeCheckBox, &QCheckBox::toggled, this, &LoginFormView::rememberMe);
    connect(mPreferencesButton, &QPushButton::clicked, this, &LoginFormView::openPreferences);
    connect(forgot, &QPushButton::clicked, this, &LoginFormView::forgotPassword);
    connect(signUp, &QPushButton::clicked, this, &LoginFormView::signUp);
    connect(mEmailListBox, &QComboBox::activated, this,
            [this](int index) { emit emailAccountChosen(mEmailListBox->itemText(index)); });
}

void LoginFormView::setErrorText(const QString &html)
{
    mErrorLabel->setText(html);
    mErrorLabel->setVisible(!html.isEmpty());
    mHeight = kHeight;
    if (!html.isEmpty()) {
        // The text as the label wraps it in the form's width decides: a long message grows the form.
        const QMargins margins = layout()->contentsMargins();
        const int textHeight = mErrorLabel->heightForWidth(kWidth - margins.left() - margins.right());
        if (textHeight > kOneLineHeight)
            mHeight = textHeight + kErrorMargin;
    }
    updateGeometry();
}
