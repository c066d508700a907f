#pragma once

#include <QString>

class User;

// The index details file: who the index on the drive belongs to and how the
// account reaches its storage server. It holds the scrambled password, so it
// is written for its owner alone (0600).
namespace IndexDetailsFile {

// Sets the account's keys in the dictionary file at path, keeping any other
// keys it holds, and writes it atomically. False when it cannot be written.
bool write(const QString &path, const User &account);

}  // namespace IndexDetailsFile
