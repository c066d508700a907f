#pragma once

#include "client/browser/versions/VersionRestoreRunner.h"

#include <functional>

class RuvoVersionRestoreController;
class TXEngineController;

// The program's version restore: the main controller's one restore controller,
// set up for each request with the signed-in account.
class RuvoVersionRestoreRunner : public VersionRestoreRunner
{
public:
    using Fill = std::function<void(TXEngineController &)>;

    RuvoVersionRestoreRunner(RuvoVersionRestoreController &controller, Fill fill);

    bool isRestoring() const override;
    void start(const VersionRestoreRequest &request, VersionRestoreProtocol &delegate) override;
    void forget(VersionRestoreProtocol &delegate) override;

private:
    RuvoVersionRestoreController &mController;
    Fill mFill;
};
