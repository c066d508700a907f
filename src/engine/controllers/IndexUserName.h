#pragma once

#include <QString>

class User;

namespace IndexUserName {

// The user that names the account's main index: the account's own user in
// backup mode, else the sync user of the user's sync-details plist, which is
// then kept in the account and handed to the application-file table. Empty
// when there is none (sync mode before the sync account is known).
QString forAccount(User &account);

}  // namespace IndexUserName
