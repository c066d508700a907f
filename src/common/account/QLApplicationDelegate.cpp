#include "common/account/QLApplicationDelegate.h"

#include <atomic>

namespace {
std::atomic<QLApplicationDelegate *> gDelegate{nullptr};
}

QLApplicationDelegate *QLApplicationDelegate::current() { return gDelegate.load(); }

void QLApplicationDelegate::setCurrent(QLApplicationDelegate *delegate) { gDelegate.store(delegate); }
