#pragma once

#include <QByteArray>

// The fuzz targets of the readers of files and replies the program interprets:
// one function per kind of input, listed by FuzzTargets::all().
namespace ReaderTargets {

// A session-log day file, as the log viewer reads it.
void sessionLog(const QByteArray &bytes);
// A reply of the account web services: account details, e-mail lookup, token.
void accountReply(const QByteArray &bytes);
// Engine output as the operations read it: delete (also from spill files), quota,
// version list, rebuild listing and rate lines, and the decoding of its bytes.
void engineOutput(const QByteArray &bytes);
// Property-list files whose values the program interprets: the backup set and its
// history, the exclusion settings, a saved attribute list and the login details.
void plistValues(const QByteArray &bytes);

}  // namespace ReaderTargets
