#pragma once

#include "common/account/User.h"
#include "common/proxy/ProxyController.h"
#include "engine/command/TXEngineController.h"

#include <QString>

// What every operation controller keeps for the engine: its own copy of the
// account, its proxy settings and the engine executable, which the main
// controller fills before the controller starts.
class EngineControllerFields : public TXEngineController
{
public:
    User &userInfo() override { return mUserObject; }
    void setProxyObjectWithSettingsFile(const QString &path) override { mProxyObject = ProxyController(path); }
    void setExecutorPath(const QString &path) override { mTXSExecutorPath = path; }

    QString executorPath() const { return mTXSExecutorPath; }
    const ProxyController &proxyObject() const { return mProxyObject; }

protected:
    // Reads the proxy settings afresh from the application's proxy settings
    // file, so a change saved since the last run reaches this one.
    void reloadProxySettings();

    User mUserObject;
    ProxyController mProxyObject;
    QString mTXSExecutorPath;
};
