#include "KeyLiterals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// Every source text under src/, by its path there.
QMap<QString, QString> sourceTexts()
{
    QMap<QString, QString> texts;
    const QDir root(QString(TX_SOURCE_TREE));
    QDirIterator it(root.path(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            texts.insert(root.relativeFilePath(file.fileName()), QString::fromUtf8(file.readAll()));
    }
    return texts;
}

TEST(KeyLiterals, CheckerFindsAKeySpelledInTwoLayers)
{
    const QMap<QString, QString> sources{
        // A literal key in one layer, a constant of the same text in another.
        {"index/Rows.cpp", R"(const QString name = row.value(QStringLiteral("FileName")).toString();)"},
        {"engine/Search.h", R"(inline const QString kFileNameKey = QStringLiteral("FileName");)"},
        // A braced pair in one layer, a subscript in another.
        {"client/Report.cpp", R"(return QVariantMap{{"Server IP", ip}, {"Port", port}};)"},
        {"session/Read.cpp", R"(const QVariant ip = details["Server IP"];)"},
        // Twice in one layer is that layer's own business.
        {"engine/Quota.cpp", R"(output.insert(QLatin1String("usedquota"), used);)"},
        {"engine/controllers/Quota.cpp", R"(if (output.contains("usedquota")))"},
        // Not keys: a text that is no word, a text in no key position, a file outside the layers.
        {"common/Paths.cpp", R"(if (folder.contains("/")) return tr("FileName") + "Port";)"},
        {"platform/Roots.cpp", R"(roots.insert(QStringLiteral("/media"), path);)"},
        {"Unlayered.cpp", R"(x.value("Port");)"},
    };
    const QMap<QString, QStringList> expected{
        {"FileName", {"engine/Search.h", "index/Rows.cpp"}},
        {"Server IP", {"client/Report.cpp", "session/Read.cpp"}},
    };
    EXPECT_EQ(KeyLiterals::spelledInSeveralLayers(sources), expected);
}

TEST(KeyLiterals, EveryKeyOfTheTreeIsSpelledInOneLayer)
{
    const QMap<QString, QString> sources = sourceTexts();
    ASSERT_GT(sources.size(), 100) << "no sources found under " << TX_SOURCE_TREE;
    const QMap<QString, QStringList> spelled = KeyLiterals::spelledInSeveralLayers(sources);
    for (auto key = spelled.cbegin(); key != spelled.cend(); ++key) {
        ADD_FAILURE() << "\"" << key.key().toStdString()
                      << "\" is spelled in several layers: " << key.value().join(", ").toStdString()
                      << "; name it once, as a constant in the lowest layer that needs it";
    }
}

}  // namespace
