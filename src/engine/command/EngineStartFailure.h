#pragma once

#include "engine/command/EngineArguments.h"

#include <QString>

// The error text of an engine run that could not begin or end on its own, worded like the
// engine's own errors ("ERROR: ...") so every operation fails on it.
namespace EngineStartFailure {

// Why the vector must not be started; "" when it is complete.
QString refusal(const EngineArguments &arguments);

// A run that lacks something it needs ("the spill folder") is not started.
QString missing(const QString &what);

// The child could not be started (a missing or unusable executable).
QString launchFailure(const QString &executable, const QString &reason);

// The child was stopped, crashed or ended with a non-zero status without
// writing an error of its own.
QString abnormalEnd(const QString &executable, bool crashed, int exitCode);

}  // namespace EngineStartFailure
