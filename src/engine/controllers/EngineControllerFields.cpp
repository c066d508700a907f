#include "engine/controllers/EngineControllerFields.h"

#include "common/files/TXSupportFileManager.h"

void EngineControllerFields::reloadProxySettings()
{
    setProxyObjectWithSettingsFile(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::ProxySetting));
}
