#include "fuzz/FuzzTargets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// Each saved input runs through its target to the end: no crash, no hang.
TEST(FuzzCorpus, EverySavedInputIsReadWithoutFault)
{
    for (const FuzzTargets::Target &target : FuzzTargets::all()) {
        const QDir folder(QStringLiteral(TX_FUZZ_CORPUS) + '/' + target.name);
        const QStringList inputs = folder.entryList(QDir::Files);
        EXPECT_FALSE(inputs.isEmpty()) << "no corpus for " << target.name.toStdString();
        for (const QString &name : inputs) {
            SCOPED_TRACE((target.name + '/' + name).toStdString());
            QFile file(folder.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            target.run(file.readAll());
        }
    }
}
