#pragma once

#include <QString>

class TarnixProcessLib;

// The callbacks of a long engine run, all on the main thread.
class TarnixProcessLibController
{
public:
    virtual ~TarnixProcessLibController() = default;

    // New complete lines of the engine's output file, each ending in "\n".
    virtual void updateProgress(const QString &lines, TarnixProcessLib *engine) = 0;
    // New text of the engine's error file, as it came (not split into lines).
    virtual void getError(const QString &text, TarnixProcessLib *engine) = 0;
    // Once per run, after the last progress and error text.
    virtual void processFinishedOfEngine(TarnixProcessLib *engine) = 0;
};
