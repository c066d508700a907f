#pragma once

#include <QString>

// The files of journals. A journal is written as
// "<folder>/<UTC start time>_<sequence>-<process id>.qlt.progress" and becomes
// ".qlt" when finished; only finished journals are merged. The time reads
// "2014-05-06 10.11.12 +0000": dots, not colons, since FAT and exFAT drives
// refuse ":" in names.
namespace JournalFiles {

inline constexpr const char *kProgressExtension = ".progress";

// Creates a new, empty journal file in the folder and answers its standardised
// path; empty when none could be made. The sequence number is process-wide and
// the process id is part of the name, so writers of every thread and process
// get names of their own; the file is created only where none stands
// (O_EXCL), so a writer never takes over another's journal.
QString createJournal(const QString &folder);

// Finishes the journals of the folder that a writer left unfinished because it
// ended (killed, crashed): their process no longer runs, or their name carries
// no process id. A transaction the writer left open is rolled back first.
void finishAbandoned(const QString &folder);

// Renames a journal being written to its finished name. A rename that fails is
// logged and remembered; finishing any later journal tries it again, so no
// journal stays unmerged for good. Also retries the ones that failed before.
void finish(const QString &progressPath);

}  // namespace JournalFiles
