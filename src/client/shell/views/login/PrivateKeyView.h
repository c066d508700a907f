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

    QSize sizeHint() const override;

    QLineEdit *mPrivateKeyAcceptanceText = nullptr;
    QLabel *mEncryptionAcceptanceErrorText = nullptr;

signals:
    void privatekeyAcceptanceValidation();
    void closeButtonClicked();
};
