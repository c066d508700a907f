#include "client/shell/views/login/EncryptionSetupView.h"

#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginPageParts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

EncryptionSetupView::EncryptionSetupView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout =
        LoginPageParts::pageLayout(this, tr("Set up your encryption key"), [this] { emit closeButtonClicked(); });
    layout->addWidget(LoginPageParts::introText(
        tr("Choose how Tarnix encrypts your data. A private key cannot be recovered if you lose it."),
        tr("Choose how Quellon encrypts your data. A private key cannot be recovered if you lose it."), this));
    mKeyButton = new QButtonGroup(this);
    auto *defaultKey = new QRadioButton(tr("Default key"), this);
    auto *privateKey = new QRadioButton(tr("Private key"), this);
    mKeyButton->addButton(defaultKey, kDefaultTag);
    mKeyButton->addButton(privateKey, kPrivateTag);
    defaultKey->setChecked(true);
    auto *choice = new QHBoxLayout;
    choice->addWidget(defaultKey);
    choice->addWidget(privateKey);
    choice->addStretch();
    layout->addLayout(choice);

    auto *grid = new QGridLayout;
    mPrivateKey = new QLineEdit(this);
    mPrivateKey->setEchoMode(QLineEdit::Password);
    mConfirmationPrivateKey = new QLineEdit(this);
    mConfirmationPrivateKey->setEchoMode(QLineEdit::Password);
    grid->addWidget(LoginPageParts::fieldLabel(tr("Private key"), this), 0, 0);
    grid->addWidget(mPrivateKey, 0, 1);
    grid->addWidget(LoginPageParts::fieldLabel(tr("Confirm key"), this), 1, 0);
    grid->addWidget(mConfirmationPrivateKey, 1, 1);
    layout->addLayout(grid);
    mEncryptionConfigurationErrorText = LoginPageParts::errorLabel(this);
    layout->addWidget(mEncryptionConfigurationErrorText);
    layout->addStretch();
    auto *actions = new QHBoxLayout;
    mConfigurationProgressIndicator = LoginPageParts::spinner(this);
    auto *configure = new QPushButton(tr("Continue"), this);
    configure->setDefault(true);
    actions->addStretch();
    actions->addWidget(mConfigurationProgressIndicator);
    actions->addWidget(configure);
    layout->addLayout(actions);

    connect(configure, &QPushButton::clicked, this, &EncryptionSetupView::configureAccount);
    connect(mKeyButton, &QButtonGroup::idClicked, this, &EncryptionSetupView::setAccountType);
    setAccountType(kDefaultTag);
}

int EncryptionSetupView::chosenTag() const { return mKeyButton->checkedId(); }

void EncryptionSetupView::setAccountType(int tag)
{
    mPrivateKey->setEnabled(tag != kDefaultTag);
    mConfirmationPrivateKey->setEnabled(tag != kDefaultTag);
}

QSize EncryptionSetupView::sizeHint() const { return {LoginFormView::kWidth, LoginFormView::kHeight + 30}; }
