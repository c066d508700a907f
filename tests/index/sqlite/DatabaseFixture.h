#pragma once

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMDatabaseWaits.h"
#include "support/SandboxFixture.h"

#include <memory>

// A temporary folder for database files, with the busy waits shortened.
class DatabaseFixture : public SandboxFixture
{
protected:
    static constexpr double kShortBusyRetry = 0.3;
    static constexpr int kShortBusyStepMilliseconds = 10;

    void SetUp() override
    {
        SandboxFixture::SetUp();
        FMDatabaseWaits::shortenForTests(kShortBusyRetry, kShortBusyStepMilliseconds);
    }
    void TearDown() override
    {
        FMDatabaseWaits::restoreDefaults();
        SandboxFixture::TearDown();
    }

    QString dbPath(const QString &name = QStringLiteral("index.qlenc")) const { return root() + "/" + name; }

    // An open, keyed connection; the test fails when it cannot be opened.
    static std::unique_ptr<FMDatabase> openDatabase(const QString &path)
    {
        auto db = std::make_unique<FMDatabase>(path);
        EXPECT_TRUE(db->open()) << db->lastErrorMessage().toStdString();
        return db;
    }
};
