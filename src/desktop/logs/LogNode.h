#pragma once

#include <QString>

// One record of a day file: the operation it tells of, when, for whom, how it
// ended and where its session log file is. Every field is text, empty when the
// file did not name it; optype holds the operation number (Backup "1" ...
// Periodic Cleanup "10").
class LogNode
{
public:
    QString datetime;
    QString uname;
    QString files;
    QString filesinsync;
    QString status;
    QString duration;
    QString optype;
    QString content;
    QString lpath;
    QString logfile;
    QString logname;

    // The integer at the start of optype; 0 when there is none.
    int optypeValue() const;

    // Sets the field named by a lower-case element name; false when the record
    // has no such field.
    bool setField(const QString &name, const QString &value);

    // The record as the rewrite of a day file writes it: every element present,
    // each on a line of its own opened by a tab, values escaped.
    QString flattenSelfToXML() const;

    bool operator==(const LogNode &) const = default;
};
