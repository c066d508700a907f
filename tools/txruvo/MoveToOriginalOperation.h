#pragma once

#include "txruvo/AnswerRun.h"

#include <QString>

// "--moveto-original": puts each item listed in "--files-from=" back at its
// place on the drive. A line is the stored path of the item (the computer
// folder's path on the drive followed by the item's stored path), read below
// the remote's path. An item that is there is reported in place; an item
// that is not, while its newest version slot holds it (a replacement
// interrupted on a drive without hard links moves the stored copy into its
// slot before the new copy is named), is moved back from that slot.
// Answer on standard output, one line per item:
// <item op="moved" fname="<line>"/> or <item op="in_place" fname="<line>"/>
// (bracketed: "[moved][<line>]"), then <summary tot_items_moved="<n>"/>.
// An item that can be neither gets "IOERROR: [<line>], : <reason>" in the
// "--e=" file (standard error without one); the run goes on.
class MoveToOriginalOperation
{
public:
    explicit MoveToOriginalOperation(AnswerRun &run)
        : mRun(run)
    {}
    int run();

private:
    enum class Outcome
    {
        Moved,
        InPlace
    };
    struct Result
    {
        Outcome outcome = Outcome::Moved;
        QString failure;  // the reason, when neither
    };
    Result moveBack(const QString &itemPath) const;

    AnswerRun &mRun;
};
