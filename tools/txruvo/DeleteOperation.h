#pragma once

#include "txruvo/AnswerRun.h"

// "--delete-items": removes the items listed in "--files-from=" (lines
// "/<folder_id>/<enc_name>") from the computer folder the remote's path
// names, each with its marker, its thumbnails with their markers and (in
// backup mode) its versions with their markers. Answer on standard output,
// one line per item: <item op="deleted" fname="<user path>"/> (bracketed:
// "[deleted][<user path>]"), or "IOERROR [<item>] Reason: <reason>" for an
// item that is not stored or cannot be removed; last the count,
// <summary tot_items_deleted="<n>"/>. An empty or missing list deletes nothing.
class DeleteOperation
{
public:
    explicit DeleteOperation(AnswerRun &run)
        : mRun(run)
    {}
    int run();

private:
    AnswerRun &mRun;
};
