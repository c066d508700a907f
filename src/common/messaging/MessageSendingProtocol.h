#pragma once

#include <QVariantList>

// What one process invokes on the other's messaging module.
class MessageSendingProtocol
{
public:
    virtual ~MessageSendingProtocol() = default;

    // message: [payload, type as decimal text, sender's own name, sender's remote name]
    virtual void didReceiveDataFromOtherProcess(const QVariantList &message) = 0;
};
