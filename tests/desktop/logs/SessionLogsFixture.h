#pragma once

#include "common/logging/OnlineLogController.h"
#include "desktop/logs/LogManager.h"
#include "desktop/logs/LogParseOperation.h"
#include "desktop/logs/LogParseReceiver.h"
#include "desktop/logs/SessionLogXmlFile.h"
#include "desktop/logs/SessionLogsFolder.h"
#include "support/SandboxFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <ostream>

inline void PrintTo(const LogNode &node, std::ostream *out) { *out << node.flattenSelfToXML().toStdString(); }

// A session-log folder in the sandbox, a clock the test sets, and the shared
// operation record filled as a finished backup leaves it.
class SessionLogsFixture : public SandboxFixture
{
protected:
    void SetUp() override
    {
        SandboxFixture::SetUp();
        qputenv("TX_COMPUTER_NAME", "Büro & <Lab>");
        OnlineLogController::SharedOnlineLogController().setOperationStatus("Success");
        OnlineLogController::SharedOnlineLogController().setOperationStartTime("12/08/2026 02:00:00 PM");
    }
    void TearDown() override
    {
        qunsetenv("TX_COMPUTER_NAME");
        SandboxFixture::TearDown();
    }

    SessionLogsFolder folder() const { return SessionLogsFolder(root() + "/missing/parents/SessionLogs"); }
    SessionLogXmlFile::Clock clock() const
    {
        return [this] { return now; };
    }
    SessionLogXmlFile writer(const QString &user = "alice") const
    {
        return SessionLogXmlFile(
            folder(), [user] { return user; }, clock());
    }
    QString dayFile(const QString &key) const { return folder().dayFilePath(key); }

    static QList<LogNode> parsed(const QByteArray &xml)
    {
        const auto records = LogParseOperation(xml).parsedData();
        EXPECT_TRUE(records.has_value()) << xml.toStdString();
        return records.value_or(QList<LogNode>());
    }

    QDateTime now{QDate(2026, 12, 8), QTime(14, 5, 9)};
};

// Stands in for the log viewer: keeps every delivery and offers each day to the
// cache under its first record's logname, as the viewer does.
class RecordingReceiver : public LogParseReceiver
{
public:
    void xmlParsed(const std::optional<QList<LogNode>> &records) override
    {
        deliveries.append(records);
        if (manager && records && !records->isEmpty())
            manager->addToLogCache(records->first().logname, *records);
    }

    // Runs the event loop until the manager's queued parses have all been delivered.
    void waitFor(qsizetype count)
    {
        QDeadlineTimer deadline(5000);
        while (deliveries.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        manager->waitForQueuedParses();
        QCoreApplication::processEvents();
    }

    LogManager *manager = nullptr;
    QList<std::optional<QList<LogNode>>> deliveries;
};
