#pragma once

#include "uninstaller/removal/UninstallStep.h"

#include <QList>

// The removal steps of the running brand, in order: the client and the
// monitor are stopped, the installed programs, the machine's and the user's
// folders of the brand, its preference, receipt and launcher files removed,
// the engine stopped, the login items removed, then the login and status
// files. Every path and program name comes from the brand's texts; a key
// without a value, or a path that is not safe to remove, makes a refused step.
namespace UninstallPlan {

// Steps that advance the progress bar, each by this much.
constexpr double kProgressStep = 8.0;

QList<UninstallStep> forRunningBrand();

}  // namespace UninstallPlan
