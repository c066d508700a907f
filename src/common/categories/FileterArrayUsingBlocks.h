#pragma once

#include <QSet>
#include <QString>

// Prefix test on a set of paths.
namespace fileterArrayUsingBlocks {

// True when at least one member begins with the prefix.
bool HasPrefix(const QSet<QString> &set, const QString &prefix);

}  // namespace fileterArrayUsingBlocks
