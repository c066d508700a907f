#pragma once

#include "txruvo/AnswerRun.h"

// "--version-info": the stored versions of one item. "--portable-dest=" names
// the computer folder; the remote's path names the item as
// "/<folder_id>/<enc_name>", optionally after the computer folder itself (the
// form of an account with its own key). Answer: one line per version, the
// earlier ones (001 the oldest) and then the current item as version n + 1:
// <version mod_time="2014-05-06 10:11:12 +0000" size="<bytes>" ver="<n>"/>,
// or the columns "[<mod_time>][<bytes>][<n>]".
class VersionInfoOperation
{
public:
    explicit VersionInfoOperation(AnswerRun &run)
        : mRun(run)
    {}
    int run();

private:
    AnswerRun &mRun;
};
