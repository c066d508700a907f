#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// The storage quota as the engine measured it, in bytes, and what the client
// shows and stores of it: the bar's percentage and the user-details plist's
// scrambled MB figures that the monitor reads.
struct QuotaReport
{
    double usedBytes = 0;
    double totalBytes = 0;

    // From the engine's "usedquota" and "totalquota" texts; none when the total is
    // missing, not a number, or not above 0 (an unknown total gives no figure at all).
    static std::optional<QuotaReport> fromEngineOutput(const QVariantMap &output);

    double usedMB() const { return usedBytes / 1024 / 1024; }
    double totalMB() const { return totalBytes / 1024 / 1024; }
    // 100 * used / total, rounded up: any use above 0 shows at least 1 %.
    int percentage() const;
    bool isExceeded() const { return percentage() >= 100; }

    // Stores "TOTALQUOTASIZE" and "USEDQUOTASIZE" ("%lf" MB, scrambled; a negative use as 0)
    // in the user-details plist, keeping its other keys.
    bool store(const QString &userDetailsPath) const;
};
