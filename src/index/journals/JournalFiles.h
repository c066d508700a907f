#pragma once

#include <QString>

// The files of journals. A journal is written as
// "<folder>/<UTC start time>_<sequence>.qlt.progress" and becomes ".qlt" when
// finished; only finished journals are merged. The time reads
// "2014-05-06 10.11.12 +0000": dots, not colons, since FAT and exFAT drives
// refuse ":" in names.
namespace JournalFiles {

inline constexpr const char *kProgressExtension = ".progress";

// The path of a new journal in the folder, standardised. The sequence number
// is process-wide and starts at 1, so journals started in the same second
// by different threads get different names.
QString newJournalPath(const QString &folder);

// Renames a journal being written to its finished name. A rename that fails is
// logged and remembered; finishing any later journal tries it again, so no
// journal stays unmerged for good. Also retries the ones that failed before.
void finish(const QString &progressPath);

}  // namespace JournalFiles
