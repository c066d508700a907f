#pragma once

#include <QString>

class User;

// What every engine operation controller lets the main controller fill in
// before it starts: its own copy of the account, its proxy settings and the
// engine executable.
class TXEngineController
{
public:
    virtual ~TXEngineController() = default;

    // The controller's own account record.
    virtual User &userInfo() = 0;
    // Replaces the proxy settings by those read from the settings file.
    virtual void setProxyObjectWithSettingsFile(const QString &path) = 0;
    virtual void setExecutorPath(const QString &path) = 0;
};
