#pragma once

#include "txruvo/AnswerRun.h"

// "--trf-uprate" and "--trf-downrate": the bandwidth test. With no network to
// the storage server, the test moves a buffer of one megabyte (1,048,576
// bytes) through a scratch file in the temporary folder: written and synced
// for an upload, read back for a download. The scenario's transferRate
// replaces the measured rate. Answer:
// <transfer trf_type="upload" trf_rate="<KB per second, two places>KB/s"/>
// (trf_type "download" for a download).
class TransferRateOperation
{
public:
    static constexpr qint64 kBufferBytes = 1048576;

    explicit TransferRateOperation(AnswerRun &run)
        : mRun(run)
    {}
    int run();

private:
    // Kilobytes per second of moving the buffer through the file; none (and
    // the reason) when the file could not be written or read.
    std::optional<double> measure(bool upload, QString *error) const;

    AnswerRun &mRun;
};
