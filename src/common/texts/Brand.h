#pragma once

#include <QString>

// The one brand test of the code base: the first brand's "ApplicationName"
// begins with "Tarnix". Every text or path that differs by brand is a pair.
namespace Brand {

bool isTarnix();

inline QString pick(const QString &tarnix, const QString &quellon) { return isTarnix() ? tarnix : quellon; }

}  // namespace Brand
