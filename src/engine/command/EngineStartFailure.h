#pragma once

#include "engine/command/EngineArguments.h"

#include <QString>

// The error text of an engine run that could not begin, worded like the
// engine's own errors ("ERROR: ...") so every operation fails on it.
namespace EngineStartFailure {

// Why the vector must not be started; "" when it is complete.
QString refusal(const EngineArguments &arguments);

// A run that lacks something it needs ("the spill folder") is not started.
QString missing(const QString &what);

// The child could not be started (a missing or unusable executable).
QString launchFailure(const QString &executable, const QString &reason);

}  // namespace EngineStartFailure
