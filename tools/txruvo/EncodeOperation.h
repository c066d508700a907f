#pragma once

#include <QString>

// "--utf8-cmd=<command file>": the command file holds two lines,
// "--string-encode=<text>" and "--out-file=<path>"; the encoded text is
// written to the out-file (mode 0600, atomically). Failures go to stderr.
class EncodeOperation
{
public:
    explicit EncodeOperation(QString commandFilePath);
    int run();

private:
    QString mCommandFilePath;
};
