#pragma once

#include <QByteArray>
#include <QString>

// One progress line of a backup or restore run, in either of the two forms
// the client reads: one element "<file k="v" .../>" (values entity-encoded)
// or a row of bracketed columns in the order of the client's column lists.
struct ProgressLine
{
    enum class Kind
    {
        Backup,
        Restore
    };  // restore rows carry no folder_id, mpc, enc_name

    quint64 offset = 0;       // bytes of this file done
    quint64 size = 0;         // file bytes
    quint64 transferred = 0;  // tottrf_sz: bytes copied by this run so far
    quint64 runTotal = 0;     // tot_sz
    quint64 skipped = 0;      // cum_size: bytes of unchanged files in this run
    int percent = 0;          // per: exactly 100 on the one completion line of a file
    QString rate;             // rate_trf, "1.20 MB/s"
    QString transferType;     // trf_type: "FULL", "INCREMENTAL" or "FILE IN SYNC"
    QString folderId;
    QString mpc;
    QString encName;
    int fileVersion = 1;
    QString fileName;

    QByteArray toElement(Kind kind, bool macRomanName) const;
    // Appends the element without the run totals and answers the place in
    // `out` where they belong: the line can be made before the totals are
    // known, which are put in last (appendTotals()).
    qsizetype appendElementWithoutTotals(QByteArray &out, Kind kind) const;
    // The run totals of a line as they stand when it is written.
    struct Totals
    {
        quint64 transferred;
        quint64 runTotal;
        quint64 skipped;
        int percent;
        QByteArray rate;
    };
    // Appends the totals' attributes, as put at the place answered above.
    static void appendTotals(QByteArray &out, const Totals &totals);
    QByteArray toBracketRow(Kind kind, bool macRomanName) const;
};

// An attribute value entity-encoded: & " < > ' and control characters.
QString escapeAttribute(const QString &value);

// "%.2f" followed by "kB/s", "MB/s" or "GB/s", the units the client knows.
QString formatRate(double bytesPerSecond);
