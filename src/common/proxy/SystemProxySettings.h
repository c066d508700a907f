#pragma once

#include <QString>

#include <optional>

// The proxy the user's session is configured with: the https_proxy setting,
// then http_proxy (either in lower or upper case), then Qt's system proxy
// query for an HTTPS and then an HTTP address.
namespace SystemProxySettings {

struct Proxy
{
    QString host;
    QString port;  // "" when the setting names none
};

// None when the session has no proxy.
std::optional<Proxy> current();

}  // namespace SystemProxySettings
