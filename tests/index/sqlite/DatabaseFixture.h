#pragma once

#include "index/sqlite/FMDatabase.h"
#include "index/sqlite/FMDatabaseTimings.h"
#include "support/SandboxFixture.h"

#include <memory>

// A temporary folder for database files; its connections have short busy waits.
class DatabaseFixture : public SandboxFixture
{
protected:
    static constexpr double kShortBusyRetry = 0.3;
    static constexpr FMDatabaseTimings kShortTimings{std::chrono::milliseconds(300), std::chrono::milliseconds(10)};

    QString dbPath(const QString &name = QStringLiteral("index.qlenc")) const { return root() + "/" + name; }

    // An open, keyed connection; the test fails when it cannot be opened.
    static std::unique_ptr<FMDatabase> openDatabase(const QString &path)
    {
        auto db = std::make_unique<FMDatabase>(path, kShortTimings);
        EXPECT_TRUE(db->open()) << db->lastErrorMessage().toStdString();
        return db;
    }
};
