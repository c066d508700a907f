#include "session/manager/MainControllerIndexQueue.h"

#include "engine/command/TXEngineApplicationDelegate.h"
#include "index/manager/TarnixDBManager.h"

void MainControllerIndexQueue::addBackedUpFile(const BackedUpFile &file)
{
    TXEngineApplicationDelegate *mainController = TXEngineApplicationDelegate::current();
    if (TarnixDBManager *index = mainController ? mainController->dbManager() : nullptr)
        index->addBackedUpFile(file);
}
