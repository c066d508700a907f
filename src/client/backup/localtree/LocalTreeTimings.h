#pragma once

#include <chrono>

// Waits of the local tree and the backup-set files; tests pass shorter ones.
struct LocalTreeTimings
{
    // A listing thread rests this long after every kEntriesPerListingPause
    // entries, so that a huge folder leaves the disk to others.
    std::chrono::milliseconds listingPause{1000};
    // The default folders of a first login are checked this long after the request.
    std::chrono::milliseconds defaultSetDelay{5000};
    // Folder sizes are worked out this long after the last save of the set.
    std::chrono::milliseconds sizeRunDelay{10000};
    // A failed write of the size file is tried again after this pause.
    std::chrono::milliseconds sizeWriteRetryPause{1000};
    // A folder-size walk rests this long after each item (1 ms per 50 items),
    // so that sizing a large set leaves the disk to others.
    std::chrono::microseconds sizeWalkPause{20};
};

inline constexpr int kEntriesPerListingPause = 5000;
// A finished listing becomes nodes this many at a time, one part per turn of
// the main thread's event loop, so that a huge folder never holds the window up.
inline constexpr int kNodesPerInstallStep = 2000;
inline constexpr int kSizeFileWriteAttempts = 3;
