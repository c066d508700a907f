#pragma once

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// Dictionary keys written as literals in more than one layer of the source
// tree. A key is a word-like text (a letter, then letters, digits, "_", " ",
// "." or "-") that stands where a dictionary takes its key: the first argument
// of value, contains, insert, remove or take, a subscript, or the first of a
// pair in a braced list. A key is spelled where it so stands and where a named
// constant (k...) is defined as its text. Spelled in two layers, it is written
// twice; its one definition belongs in the lowest layer that needs it.
namespace KeyLiterals {

// The keys one source text uses as literals.
QSet<QString> keysIn(const QString &source);
// The texts the named constants of one source text are defined as.
QSet<QString> constantTextsIn(const QString &source);

// For source texts by their path under src/: each key that is spelled in two
// or more layers, with the files that spell it.
QMap<QString, QStringList> spelledInSeveralLayers(const QMap<QString, QString> &sources);

}  // namespace KeyLiterals
