#pragma once

#include "monitor/schedules/TarnixScheduleItem.h"

#include <optional>

// Which commands of the schedule window's menu take a click.
//   no job selected        -> none
//   a completed job        -> every command but Stop
//   a job in progress      -> every command
namespace ScheduleMenuRules {

enum class Command
{
    Edit,
    Immediate,
    Refresh,
    Stop,
    Delete
};

bool isEnabled(Command command, const std::optional<TarnixScheduleItem> &selected);

}  // namespace ScheduleMenuRules
