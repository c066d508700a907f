// The monitor's trace lines, rewritten by brand.

#include "monitor/logs/MonitorLogger.h"
#include "monitor/logs/MonitorProgressLogger.h"

#include "support/SandboxFixture.h"

#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

class MonitorLoggerTest : public SandboxFixture
{
protected:
    static void useBrand(const char *brand)
    {
        qputenv("TX_BRAND", brand);
        ProgramContext::current().texts().reload();
    }
};

TEST_F(MonitorLoggerTest, TraceLinesAreRewrittenForTheFirstBrandOnly)
{
    EXPECT_EQ(MonitorLogger::rewrite("path ::QUELLON and ::quellon"), "path ::tarnix and ::tarnix");
    MonitorLogger::logMonitorTrace("Start of ::Quellon");
    EXPECT_TRUE(readText(QLLocalizedString("MonitorTraceFilePath")).endsWith(" : Start of ::tarnix "));
    useBrand("Quellon");
    EXPECT_EQ(MonitorLogger::rewrite("path ::QUELLON"), "path ::QUELLON");
}

TEST_F(MonitorLoggerTest, BufferedTracesKeepTheirLinesUntilAFlushWithAMessage)
{
    const QString trace = QLLocalizedString("InteractiveTraceFilePath");
    MonitorProgressLogger logger([] { return QDateTime(QDate(2026, 1, 5), QTime(9, 5, 7)); });
    logger.logInteractiveTrace("first ::quellon", false);
    logger.logInteractiveTrace(QString(), true);
    EXPECT_FALSE(QFileInfo::exists(trace)) << "a null message with flush keeps the buffer";
    logger.logInteractiveTrace("second", true);
    EXPECT_EQ(QString::fromUtf8(readText(trace)),
              "Mon Jan 5 2026 9:5:7 AM : first ::tarnix \nMon Jan 5 2026 9:5:7 AM : second \n");

    logger.logDaemonTrace("", true);
    EXPECT_FALSE(QFileInfo::exists(QLLocalizedString("DaemonTraceFilePath"))) << "an empty message writes nothing";
}

}  // namespace
