#include "client/browser/operations/RemoteMenuRules.h"

namespace RemoteMenuRules {

bool isEnabled(Action action, const Context &context)
{
    if (!context.hasClickedRow)
        return action == Action::Refresh || (action == Action::ReIndex && !context.operationActive);
    switch (action) {
    case Action::Refresh:
    case Action::FolderSize:
    case Action::SearchInFolder:
        return context.isFolder;
    case Action::Versions:
        return !context.isFolder && context.versionText.trimmed().toInt() >= 2 && context.isRuvoUser;
    case Action::Rename:
    case Action::Delete:
        return context.isRuvoUser;
    case Action::Share:
        return true;
    case Action::ReIndex:
        return !context.operationActive;
    }
    return false;
}

}  // namespace RemoteMenuRules
