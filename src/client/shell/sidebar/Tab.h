#pragma once

// The pages of the main window, by their place in its tab view. The sidebar's rows
// show the first three; the search field shows Search and Trash. The place between
// Search and Trash holds a page that is never shown.
enum class Tab
{
    Backup = 0,
    Restore = 1,
    Log = 2,
    Search = 3,
    Trash = 5
};

inline constexpr int kTabCount = 6;
