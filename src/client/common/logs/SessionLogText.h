#pragma once

#include <QString>
#include <QStringList>

// Texts that session logs of several operations share.
namespace SessionLogText {

// A list of paths as the logs show it: one quoted path a line, in parentheses.
//   ["/a", "b\"c"] -> "(\n    \"/a\",\n    \"b\\\"c\"\n)"; [] -> "(\n)"
QString arrayDescription(const QStringList &paths);

}  // namespace SessionLogText
