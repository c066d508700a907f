#pragma once

#include <functional>

class FMDatabase;

// Work handed to a queue or a pool. The connection is null when none could be
// opened; the work must check.
using FMDatabaseWork = std::function<void(FMDatabase *db)>;
// Work inside a transaction; setting rollback rolls the transaction back.
using FMTransactionWork = std::function<void(FMDatabase *db, bool &rollback)>;

namespace FMTransactions {

// Begins a transaction (deferred or exclusive), runs the work, then rolls back
// when the work asked for it and commits otherwise.
void runTransaction(FMDatabase *db, bool deferred, const FMTransactionWork &work);

}  // namespace FMTransactions
