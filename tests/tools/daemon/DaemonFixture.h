#pragma once

#include "support/SandboxFixture.h"

#include "common/messaging/MessageSendingModule.h"
#include "common/texts/QLLocalizedString.h"
#include "common/utility/QLUtility.h"
#include "monitor/schedules/TarnixSchedulerController.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"
#include "support/IPCMessageRecorder.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

// The account "ann" as the client leaves it after a login: stored login
// details, a backup set of a small tree and the drive "Drive" (computer folder
// "/Office"), and a listener in the monitor's place. Records are written with
// the monitor's own store, as the monitor writes them.
class DaemonFixture : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        qputenv("TX_COMPUTER_NAME", "Office");
        qunsetenv("TXRUVO_SCENARIO");
        for (int i = 0; i < 6; ++i)
            writeText(QStringLiteral("%1/docs %2/file %3.txt").arg(tree()).arg(i % 2).arg(i),
                      QByteArray(300 * (i + 1), char('a' + i)));
        QDir().mkpath(QFileInfo(userFile("LoginDetailsFilePath")).absolutePath());
        ASSERT_TRUE(PropertyList::write(userFile("LoginDetailsFilePath"),
                                        QVariantMap{{"Username", "ann"},
                                                    {"TarnixUsername", "ann"},
                                                    {"EncodedPassword", "TXE1:pw"},
                                                    {"EncodedKey", "TXE1:key"},
                                                    {"serverName", "10.0.0.1"}},
                                        PropertyList::kOwnerReadWrite));
        QDir().mkpath(drive());
        writeText(userFile("DestinationDrivePath"), drive().toUtf8());
        ASSERT_TRUE(PropertyList::write(backupSet(), QVariantList{tree()}));
        mStore = std::make_unique<TarnixSchedulerController>();
    }

    void TearDown() override
    {
        mListener.reset();
        mStore.reset();
        qunsetenv("TX_COMPUTER_NAME");
        qunsetenv("TXRUVO_SCENARIO");
        SandboxFixture::TearDown();
    }

    static QString userFile(const QString &key)
    {
        return QDir::cleanPath(PathTemplate::fillTemplate(QLLocalizedString(key), {QStringLiteral("ann")}));
    }
    QString tree() const { return root() + "/tree"; }
    QString drive() const { return volumes() + "/Drive"; }
    QString backupSet() const { return userFile("BackupsetPath"); }
    QString dataRoot() const { return drive() + "/TarnixVidezud/ann/Office"; }

    TarnixScheduleItem record(int frequency, const QDateTime &time) const
    {
        TarnixScheduleItem item;
        item.setFrequency(frequency);
        item.setScheduleTime(time);
        item.setUsername("ann");
        item.setTarnixUserName("ann");
        item.setDestination("MyTarnix");
        item.setProcessReferenceFile(backupSet());
        item.setDisplayDesktopNotification(true);
        return item;
    }

    TarnixSchedulerController &store() { return *mStore; }
    // The record as the monitor reads it now.
    std::optional<TarnixScheduleItem> archived(const TarnixScheduleItem &item) const
    {
        for (const TarnixScheduleItem &r :
             mStore->tarnixSchedulerDetailsForAllUsers().value_or(QList<TarnixScheduleItem>()))
            if (r.isSameRecord(item))
                return r;
        return std::nullopt;
    }
    int statusOf(const TarnixScheduleItem &item) const
    {
        const auto r = archived(item);
        return r ? r->status() : -1;
    }

    // Listens in the monitor's place.
    void listenAsMonitor()
    {
        mListener = std::make_unique<MessageSendingModule>();
        mListener->setDelegate(&mMessages);
        const QString login =
            qEnvironmentVariable("USER").isEmpty() ? QDir::home().dirName() : qEnvironmentVariable("USER");
        ASSERT_TRUE(
            mListener->setupConnection(MessageSendingModule::monitorName(QLUtility::machineID(), login), QString()));
    }
    // The payloads of the messages of one type.
    QVariantList messagesOfType(int type) const
    {
        QVariantList payloads;
        for (const QVariant &message : mMessages.messages())
            if (message.toList().value(1).toString() == QString::number(type))
                payloads << message.toList().value(0);
        return payloads;
    }

    QStringList treeFiles() const
    {
        QStringList files;
        QDirIterator it(tree(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }

    // Every file of the tree is on the drive below the data root with its bytes.
    void expectDriveHoldsTree() const
    {
        for (const QString &file : treeFiles()) {
            const QString stored = dataRoot() + file;
            ASSERT_TRUE(QFileInfo::exists(stored)) << stored.toStdString();
            EXPECT_EQ(readText(stored), readText(file)) << stored.toStdString();
        }
    }

    IPCMessageRecorder mMessages;

private:
    std::unique_ptr<TarnixSchedulerController> mStore;
    std::unique_ptr<MessageSendingModule> mListener;
};
