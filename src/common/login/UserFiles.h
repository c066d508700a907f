#pragma once

#include <QString>

// Per-user files named by a Localizable key whose path template takes the user name.
namespace UserFiles {

QString path(const QString &key, const QString &userName);

}  // namespace UserFiles
