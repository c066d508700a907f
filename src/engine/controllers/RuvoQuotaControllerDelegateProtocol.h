#pragma once

#include <QString>
#include <QVariantMap>

class RuvoQuotaController;

// What a quota query tells its delegate, once per query, on the main thread.
class RuvoQuotaControllerDelegateProtocol
{
public:
    virtual ~RuvoQuotaControllerDelegateProtocol() = default;

    // "usedquota", "totalquota" and "filecount", as texts the engine wrote;
    // a figure the engine did not give is empty.
    virtual void RuvoQuotaCalculationDidFinishSuccessfully(RuvoQuotaController *controller,
                                                           const QVariantMap &output) = 0;
    virtual void RuvoQuotaCalculationDidFailWithError(const QString &error, RuvoQuotaController *controller) = 0;
};
