#pragma once

#include <QString>

// The monitor's trace writers. Every line is rewritten before it is stored:
// the mapped user name becomes the actual one, and under the first brand
// "::quellon" becomes "::tarnix" (any letter case). Trace entries carry no line
// break, so consecutive entries run on in the file.
namespace MonitorLogger {

QString rewrite(const QString &line);

// "date : message " to the monitor's and the interactive trace; a null message writes nothing.
void logMonitorTrace(const QString &message);
void logInteractiveTrace(const QString &message);

}  // namespace MonitorLogger
