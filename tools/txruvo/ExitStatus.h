#pragma once

// The exit statuses the client reads besides 0.
namespace ExitStatus {

// The run could not go on: a refusal, a drive or file that cannot be used.
constexpr int kFailed = 1;
// The vector lacks what the operation needs.
constexpr int kMalformed = 2;

}  // namespace ExitStatus
