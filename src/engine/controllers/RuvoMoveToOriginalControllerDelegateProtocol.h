#pragma once

#include <QString>
#include <QVariantMap>

class RuvoMoveToOriginalController;

// What a move to the original place tells its delegate, once per run, on the
// thread that started it.
class RuvoMoveToOriginalControllerDelegateProtocol
{
public:
    virtual ~RuvoMoveToOriginalControllerDelegateProtocol() = default;

    // The engine answered: each item it reported, under "<op><n>" (the
    // operation it did and a running number from 0), e.g. "moved0".
    virtual void MoveToOriginalFinishSuccessfully(RuvoMoveToOriginalController *controller,
                                                  const QVariantMap &output) = 0;
    virtual void MoveToOriginalDidFailWithError(const QString &error, RuvoMoveToOriginalController *controller) = 0;
};
