// The monitor's trace lines, rewritten by brand.

#include "monitor/logs/MonitorLogger.h"

#include "support/SandboxFixture.h"

#include "common/context/ProgramContext.h"
#include "common/texts/QLLocalizedString.h"
#include "common/texts/TextTable.h"

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

}  // namespace
