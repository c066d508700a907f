#include "client/shell/main/ProgramServices.h"

#include "client/shell/main/TarnixIndexWorker.h"
#include "engine/controllers/RuvoQuotaController.h"
#include "engine/controllers/RuvoQuotaControllerDelegateProtocol.h"

#include <QProcess>

#include <list>

namespace {

using QuotaAnswer = std::function<void(std::optional<QVariantMap>)>;

// One quota query of the engine, kept until it has answered.
class QuotaRun : public RuvoQuotaControllerDelegateProtocol
{
public:
    explicit QuotaRun(QuotaAnswer answer)
        : mAnswer(std::move(answer))
    {}

    RuvoQuotaController &controller() { return mController; }
    bool hasAnswered() const { return !mAnswer; }

    void RuvoQuotaCalculationDidFinishSuccessfully(RuvoQuotaController *, const QVariantMap &output) override
    {
        answer(output);
    }
    void RuvoQuotaCalculationDidFailWithError(const QString &, RuvoQuotaController *) override { answer(std::nullopt); }

private:
    void answer(const std::optional<QVariantMap> &output)
    {
        const QuotaAnswer answer = std::exchange(mAnswer, {});
        answer(output);
    }

    QuotaAnswer mAnswer;
    RuvoQuotaController mController;
};

using QuotaRuns = std::list<std::unique_ptr<QuotaRun>>;

// Starts a query; an answered one is released at the next query, once its controller has returned.
void measureQuota(QuotaRuns &runs, TXMainController &account, QuotaAnswer answer)
{
    runs.remove_if([](const std::unique_ptr<QuotaRun> &run) { return run->hasAnswered(); });
    QuotaRun &run = *runs.emplace_back(std::make_unique<QuotaRun>(std::move(answer)));
    account.fillEngineController(run.controller());
    run.controller().setDelegate(&run);
    run.controller().runCalQuota();
}

}  // namespace

TXMainControllerServices ProgramServices::programServices()
{
    TXMainControllerServices services;
    services.makeIndexWorker = [] { return std::make_unique<TarnixIndexWorker>(); };
    services.measureQuota = [runs = std::make_shared<QuotaRuns>()](TXMainController &account, QuotaAnswer answer) {
        measureQuota(*runs, account, std::move(answer));
    };
    services.startProgram = [](const QString &program) { return QProcess::startDetached(program, {}); };
    return services;
}
