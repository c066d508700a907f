#pragma once

#include <QString>

class TXCommandExcecuter;

// The delegate of a command run. An asynchronous run ends with
// ruvoTaskFinished; a spilling run (types 1 and 2) also reports each file of
// complete output lines. An upload run asks for the engine's two files.
class TXCommandDelegate
{
public:
    virtual ~TXCommandDelegate() = default;

    // The run has ended and both streams are drained: outStr and errorStr hold its text.
    virtual void ruvoTaskFinished(TXCommandExcecuter *runner) = 0;
    // A file of complete output lines has just been written to the spill folder.
    virtual void readOutPut(TXCommandExcecuter *) {}
    // The error and output files named in an upload run's arguments.
    virtual QString errorFilePath() const { return {}; }
    virtual QString outFilePath() const { return {}; }
};
