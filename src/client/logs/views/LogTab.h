#pragma once

class ClientShell;
class LogViewController;

// The Log tab as the program builds it, in one place for the program, its tests and its
// screenshots: the session-log viewer over the session-log folders of the application
// files, its questions in the shell's alert panel and its folder chooser over the main
// window, the period it shows shared with the monitor's viewer, its list read again at
// each choice of the Log row, and the page handed to the tab view.
struct LogTab
{
    explicit LogTab(ClientShell &shell);

    LogViewController *logs;  // owned by the tab view once handed over
};
