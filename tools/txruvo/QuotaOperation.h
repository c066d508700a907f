#pragma once

#include "txruvo/AnswerRun.h"

#include <QStringList>

// "--get-quota": how much the account stores and how large it is. The remote
// names the account (its user, in lower case); what it stores are the items
// of its user folders "<volume>/TarnixVidezud/<user>" (or QuellonVidezud) on
// every mounted drive, bookkeeping files and earlier versions left out. The
// account's size is the scenario's accountSize, else kDefaultAccountSize.
// Answer: <quota usedquota="<bytes>" totalquota="<bytes>" filecount="<n>"/>,
// or the columns "[<bytes>][<n>]" of the client's quota column list.
class QuotaOperation
{
public:
    static constexpr quint64 kDefaultAccountSize = 10ULL * 1024 * 1024 * 1024;

    explicit QuotaOperation(AnswerRun &run)
        : mRun(run)
    {}
    int run();

    // The account's user folders on the mounted drives, whatever the case of their name.
    static QStringList userFolders(const QString &user);

private:
    AnswerRun &mRun;
};
