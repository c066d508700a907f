#include "client/shell/views/login/PrivateKeyView.h"

#include "client/shell/views/login/LoginFormView.h"
#include "client/shell/views/login/LoginPageParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PrivateKeyView::PrivateKeyView(QWidget *parent)
    : QWidget(parent)
{
    auto *layout =
        LoginPageParts::pageLayout(this, tr("Enter your private key"), [this] { emit closeButtonClicked(); });
    layout->addWidget(LoginPageParts::introText(
        tr("Your Tarnix account is encrypted with a private key. Enter it to reach your backups."),
        tr("Your Quellon account is encrypted with a private key. Enter it to reach your backups."), this));
    mPrivateKeyAcceptanceText = new QLineEdit(this);
    mPrivateKeyAcceptanceText->setEchoMode(QLineEdit::Password);
    mPrivateKeyAcceptanceText->setPlaceholderText(tr("Private key"));
    layout->addWidget(mPrivateKeyAcceptanceText);
    mEncryptionAcceptanceErrorText = LoginPageParts::errorLabel(this);
    layout->addWidget(mEncryptionAcceptanceErrorText);
    layout->addStretch();
    auto *actions = new QHBoxLayout;
    auto *accept = new QPushButton(tr("Continue"), this);
    accept->setDefault(true);
    actions->addStretch();
    actions->addWidget(accept);
    layout->addLayout(actions);
    connect(accept, &QPushButton::clicked, this, &PrivateKeyView::privatekeyAcceptanceValidation);
    connect(mPrivateKeyAcceptanceText, &QLineEdit::returnPressed, this,
            &PrivateKeyView::privatekeyAcceptanceValidation);
}

QSize PrivateKeyView::sizeHint() const { return {LoginFormView::kWidth, 200}; }
