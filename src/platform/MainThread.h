#pragma once

#include <QObject>

#include <functional>

namespace MainThread {

// Results of worker threads go back to the main thread with a queued call.
// The work runs in the main thread's event loop; when no application object
// exists (some command-line tests) it runs at once.
void runOnMainThread(std::function<void()> work);

// Runs the work in the thread of the given object, queued, while that object lives.
void runInThreadOf(QObject *context, std::function<void()> work);

}  // namespace MainThread
