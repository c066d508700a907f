#pragma once

#include <QVariantList>

// The receiver of a messaging module's incoming messages. Called on the
// module's listening thread, not the main thread: anything that touches the
// user interface must hop to the main thread.
class IPCMessageDelegate
{
public:
    virtual ~IPCMessageDelegate() = default;

    // message: [payload, type as decimal text, sender's own name, sender's remote name]
    virtual void didReceiveIPCMessage(const QVariantList &message) = 0;
};
