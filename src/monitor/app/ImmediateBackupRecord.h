#pragma once

#include "monitor/schedules/TarnixScheduleItem.h"

#include <QDateTime>
#include <QList>

#include <optional>

// The one-off record that the status menu's Backup now stores for the daemon:
// the last logged-in user's account, the user's backup set, a start time 45
// seconds ahead. None when nobody logged in yet or the user has no backup set.
namespace ImmediateBackupRecord {

// `working` is the store's list: the user's first record lends its e-mail settings.
std::optional<TarnixScheduleItem> backupNow(const QList<TarnixScheduleItem> &working, const QDateTime &now);

}  // namespace ImmediateBackupRecord
