#include "client/shell/ProgramServices.h"

#include "client/shell/TarnixIndexWorker.h"

#include <QProcess>

TXMainControllerServices programServices()
{
    TXMainControllerServices services;
    services.makeIndexWorker = [] { return std::make_unique<TarnixIndexWorker>(); };
    services.startProgram = [](const QString &program) { return QProcess::startDetached(program, {}); };
    return services;
}
