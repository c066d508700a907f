#pragma once

#include <QStringList>

// Test hook: when $TXRUVO_ARGV_LOG names a file, every run appends one JSON
// line {"argv": [...]} with its whole argument vector, element 0 included.
namespace ArgvLog {

inline constexpr const char *kEnvironmentVariable = "TXRUVO_ARGV_LOG";

void append(const QStringList &argv);

}  // namespace ArgvLog
