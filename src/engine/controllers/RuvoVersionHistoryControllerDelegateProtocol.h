#pragma once

#include "common/transfer/FileSystemNode.h"

#include <QList>
#include <QString>

class RuvoVersionHistoryController;

// What a version list tells its delegate, once per run, on the main thread.
class RuvoVersionHistoryControllerDelegateProtocol
{
public:
    virtual ~RuvoVersionHistoryControllerDelegateProtocol() = default;

    // One row per stored version, in the engine's order (possibly none).
    virtual void RuvoVersionHistoryDidFinishSuccessfully(RuvoVersionHistoryController *controller,
                                                         const QList<FileSystemNode> &versions) = 0;
    virtual void RuvoVersionHistoryDidFailWithError(const QString &error, RuvoVersionHistoryController *controller) = 0;
};
