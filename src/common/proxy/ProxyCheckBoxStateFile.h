#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// The state of the proxy settings window's two check boxes, kept in the file
// of the Localizable key "ProxyEnableCheck": a dictionary with "ProxyEnable"
// and "ProxyAuthEnable" as "0" or "1" text. The window rewrites it on every
// change of either box; saving the settings reads the states from it.
namespace ProxyCheckBoxStateFile {

QString path();
bool write(const QVariantMap &states);
// None when the file is missing or not a dictionary.
std::optional<QVariantMap> read();

}  // namespace ProxyCheckBoxStateFile
