#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The fuzzing script keeps the inputs that failed in the corpus, and only those.
TEST(FuzzFindings, OnlyFailuresAreSavedNotSlowUnits)
{
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString artifacts = work.filePath("artifacts"), corpus = work.filePath("corpus");
    QDir().mkpath(artifacts);
    QDir().mkpath(corpus);
    const QStringList failures{"crash-1", "leak-2", "timeout-3", "oom-4"};
    for (const QString &name : failures + QStringList{"slow-unit-5"}) {
        QFile file(artifacts + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    QProcess shell;
    shell.start("bash", {"-c", "source \"$0\" && tx_save_findings \"$1\" \"$2\"",
                         qEnvironmentVariable("TX_SOURCE_DIR") + "/scripts/lib/fuzz-findings.sh", artifacts, corpus});
    ASSERT_TRUE(shell.waitForFinished(10000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().constData();
    EXPECT_EQ(QDir(corpus).entryList(QDir::Files, QDir::Name),
              QStringList({"crash-1", "leak-2", "oom-4", "timeout-3"}));
}
