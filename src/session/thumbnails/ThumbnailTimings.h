#pragma once

#include <chrono>

struct ThumbnailTimings
{
    // A rest after each image keeps the disk and processor free for others.
    std::chrono::milliseconds pauseAfterImage{100};
    // Between two upload attempts after a failure.
    std::chrono::milliseconds uploadRetryPause{5000};
    // Thumbnail folders of earlier runs older than this are removed once uploaded.
    std::chrono::seconds staleFolderAge{14400};
};
