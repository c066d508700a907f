#pragma once

#include <QString>

// Everything the progress pane shows, as its controller last set it.
struct ProgressPaneState
{
    QString status;  // "Backup progress", "Preparing file list..."
    QString filePath;
    QString elapsedTime;     // "Elapsed Time: ..."
    QString estimatedTime;   // "Estimated Time: ..."
    QString percentageText;  // "42.5 %"
    double level = 0;        // the bar, 0 to 100
    QString speed;
    QString message;             // "File scanning is in progress..."
    bool indeterminate = false;  // the spinner in place of the bar
    bool paused = false;         // the pause button shows "Resume"
    bool pauseButtonHidden = true;
    bool stopButtonHidden = true;
    bool hidden = false;  // the pane itself

    bool operator==(const ProgressPaneState &) const = default;
};
