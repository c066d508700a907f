// The one-word launch file of the monitor.

#include "monitor/app/MonitorLaunchWord.h"

#include "support/SandboxFixture.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using Action = MonitorLaunchWord::Action;

class MonitorLaunchWordTest : public SandboxFixture
{};

TEST_F(MonitorLaunchWordTest, EachWordIsActedOnOnceAndTheFileRemoved)
{
    const QString path = root() + "/.launch";
    const QList<QPair<QByteArray, Action>> words = {
        {"ViewExclude", Action::OpenExclusionPreferences},
        {"sendErrorReport", Action::SendErrorReport},
        {"DisablePreferencesNotification", Action::LockAndOpenPreferences},
        {"", Action::OpenPreferences},
        {"rm -rf ~", Action::OpenPreferences},  // never a command
        {"viewexclude", Action::OpenPreferences},
    };
    for (const auto &[word, action] : words) {
        writeText(path, word);
        EXPECT_EQ(MonitorLaunchWord::take(path), action) << word.toStdString();
        EXPECT_FALSE(QFile::exists(path)) << word.toStdString();
    }
    EXPECT_EQ(MonitorLaunchWord::take(path), Action::None);
}

}  // namespace
