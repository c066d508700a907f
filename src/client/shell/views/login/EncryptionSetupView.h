#pragma once

#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QProgressBar;

// The encryption set-up page of an account that never chose its key: a
// default key or a private key typed twice. The brand's texts name it.
class EncryptionSetupView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultTag = 1;
    static constexpr int kPrivateTag = 2;

    explicit EncryptionSetupView(QWidget *parent = nullptr);

    QSize sizeHint() const override;

    QButtonGroup *mKeyButton = nullptr;
    QLineEdit *mPrivateKey = nullptr;
    QLineEdit *mConfirmationPrivateKey = nullptr;
    QLabel *mEncryptionConfigurationErrorText = nullptr;
    QProgressBar *mConfigurationProgressIndicator = nullptr;

    int chosenTag() const;

signals:
    void configureAccount();
    void closeButtonClicked();

private:
    void setAccountType(int tag);
};
