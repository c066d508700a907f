#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// The page that asks for the private key of an account that has one.
class PrivateKeyView : public QWidget
{
    Q_OBJECT
public:
    explicit PrivateKeyView(QWidget *parent = nullptr);

    QLineEdit *mPrivateKeyAcceptanceText = nullptr;
    QLabel *mEncryptionAcceptanceErrorText = nullptr;

signals:
    void privatekeyAcceptanceValidation();
    void closeButtonClicked();
};
