#pragma once

// The status menu's items that code finds by tag.
namespace MonitorMenuTags {

inline constexpr int kSchedulerSubmenu = 2013;
inline constexpr int kDisableAllSchedules = 9142013;
inline constexpr int kPauseResume = 9122013;
inline constexpr int kStopScheduledJob = 9132013;

}  // namespace MonitorMenuTags
