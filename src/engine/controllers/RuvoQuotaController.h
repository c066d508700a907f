#pragma once

#include "engine/command/TXCommandDelegate.h"
#include "engine/command/TXCommandExcecuter.h"
#include "engine/controllers/EngineControllerFields.h"

#include <QString>
#include <QVariantMap>

#include <optional>

class RuvoQuotaControllerDelegateProtocol;

// Asks the engine how much of the account's storage is used and how large the
// account is. The main controller makes one for each time the quota is shown,
// fills it (setUserAndProxyToObject) and starts it; the answer comes on the
// thread that started it, as a dictionary of the engine's figures.
class RuvoQuotaController : public EngineControllerFields, private TXCommandDelegate
{
public:
    explicit RuvoQuotaController(TXCommandExcecuterTimings timings = {})
        : mCommandExe(nullptr, timings)
    {}

    void setDelegate(RuvoQuotaControllerDelegateProtocol *delegate) { mDelegateObj = delegate; }

    void runCalQuota();

    // The keys of the figures of the engine's output, as its quota elements name them.
    static inline const QString kUsedQuotaKey = QStringLiteral("usedquota");
    static inline const QString kTotalQuotaKey = QStringLiteral("totalquota");
    static inline const QString kFileCountKey = QStringLiteral("filecount");

    // The figures of the engine's output: "usedquota", "totalquota" and
    // "filecount" (each empty when no line gave it), or none when no line
    // gave any. Element lines broken over two lines are joined first.
    static std::optional<QVariantMap> quotaFromOutput(const QString &output);

private:
    void ruvoTaskFinished(TXCommandExcecuter *runner) override;
    void fail(const QString &error);

    RuvoQuotaControllerDelegateProtocol *mDelegateObj = nullptr;
    TXCommandExcecuter mCommandExe;
};
