#include "client/shell/ProgramServices.h"

#include <QProcess>

TXMainControllerServices programServices()
{
    TXMainControllerServices services;
    services.startProgram = [](const QString &program) { return QProcess::startDetached(program, {}); };
    return services;
}
