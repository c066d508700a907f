#include "KeyLiterals.h"

#include "IncludeRules.h"

#include <QRegularExpression>

namespace {

// A pattern with a word-like text between before and after, bare or in one
// of Qt's string wrappers; its first capture is the text.
QRegularExpression withKeyText(const QString &before, const QString &after)
{
    static const QString keyText = QStringLiteral(
        R"re((?:QStringLiteral|QLatin1String|QLatin1StringView|QString)?\(?\s*u?"([A-Za-z][A-Za-z0-9_ .-]*)"\s*\)?)re");
    return QRegularExpression(before + keyText + after);
}

const QList<QRegularExpression> &keyPositions()
{
    static const QList<QRegularExpression> patterns{
        withKeyText(QStringLiteral(R"(\.(?:value|contains|insert|remove|take)\(\s*)"), QStringLiteral(R"(\s*[,)])")),
        withKeyText(QStringLiteral(R"(\[\s*)"), QStringLiteral(R"(\s*\])")),
        withKeyText(QStringLiteral(R"([{,]\s*\{\s*)"), QStringLiteral(R"(\s*,)")),
    };
    return patterns;
}

const QRegularExpression &constantDefinition()
{
    static const QRegularExpression pattern = withKeyText(QStringLiteral(R"(\bk\w*\s*(?:=|\{|\()\s*)"), QString());
    return pattern;
}

QSet<QString> captures(const QRegularExpression &pattern, const QString &source)
{
    QSet<QString> texts;
    for (auto match = pattern.globalMatch(source); match.hasNext();)
        texts.insert(match.next().captured(1));
    return texts;
}

}  // namespace

namespace KeyLiterals {

QSet<QString> keysIn(const QString &source)
{
    QSet<QString> keys;
    for (const QRegularExpression &pattern : keyPositions())
        keys.unite(captures(pattern, source));
    return keys;
}

QSet<QString> constantTextsIn(const QString &source) { return captures(constantDefinition(), source); }

QMap<QString, QStringList> spelledInSeveralLayers(const QMap<QString, QString> &sources)
{
    QMap<QString, QStringList> filesByKey;
    QMap<QString, QStringList> filesByConstantText;
    for (auto source = sources.cbegin(); source != sources.cend(); ++source) {
        if (IncludeRules::layerOf(source.key()).isEmpty())
            continue;
        for (const QString &key : keysIn(source.value()))
            filesByKey[key].append(source.key());
        for (const QString &text : constantTextsIn(source.value()))
            filesByConstantText[text].append(source.key());
    }
    QMap<QString, QStringList> spelled;
    for (auto key = filesByKey.cbegin(); key != filesByKey.cend(); ++key) {
        QStringList files = key.value() + filesByConstantText.value(key.key());
        files.sort();
        files.removeDuplicates();
        QSet<QString> layers;
        for (const QString &file : files)
            layers.insert(IncludeRules::layerOf(file));
        if (layers.size() > 1)
            spelled.insert(key.key(), files);
    }
    return spelled;
}

}  // namespace KeyLiterals
