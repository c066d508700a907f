#pragma once

#include "common/account/QLApplicationDelegate.h"
#include "common/account/User.h"

#include <QStringList>

// Stands in for the client's main controller in tests of the lower layers.
// Install it with QLApplicationDelegate::setCurrent for the test's duration.
// A layer that asks more of the main controller fakes its own delegate class
// on top of this one (FakeApplicationDelegateOf<ItsDelegate>).
template <class Delegate = QLApplicationDelegate>
class FakeApplicationDelegateOf : public Delegate
{
public:
    User &userObject() override { return account; }
    bool isAppInBackupMode() const override { return backupMode; }
    QString mpcName() const override { return computerFolder; }
    QString currentBackupPath() const override { return backupPath; }
    void sendSessionLogInformation(const QString &operation, int totalFileCount, int syncFileCount,
                                   const QString &sessionLogFilePath, const QString &duration) override
    {
        sessionRecords.append(QStringList{operation, QString::number(totalFileCount), QString::number(syncFileCount),
                                          sessionLogFilePath, duration});
    }
    std::optional<QString> currentquellonUserName() const override { return mappedName; }
    std::optional<QString> currenttarnixUserName() const override { return actualName; }

    User account;
    bool backupMode = true;
    QString computerFolder;  // null: no computer folder set
    QString backupPath;
    std::optional<QString> mappedName;
    std::optional<QString> actualName;
    QList<QStringList> sessionRecords;  // one per sendSessionLogInformation
};

using FakeApplicationDelegate = FakeApplicationDelegateOf<>;
