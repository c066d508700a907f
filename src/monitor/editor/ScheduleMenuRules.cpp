#include "monitor/editor/ScheduleMenuRules.h"

namespace ScheduleMenuRules {

bool isEnabled(Command command, const std::optional<TarnixScheduleItem> &selected)
{
    if (!selected)
        return false;
    return command != Command::Stop || selected->status() == TarnixScheduleItem::InProgress;
}

}  // namespace ScheduleMenuRules
