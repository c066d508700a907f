#include "session/errors/EngineErrorPhrases.h"

#include <algorithm>

namespace EngineErrorPhrases {

const QStringList &networkWords()
{
    static const QStringList words{"txruvo error:", "Operation timed out",
                                   "nodename nor servname provided, or not known", "failed to connect",
                                   "Connection refused"};
    return words;
}

const QStringList &fileWords()
{
    static const QStringList words{"failed: No such file or directory", "File name too long", "SFERROR", "IOERROR",
                                   "mkstemp"};
    return words;
}

const QStringList &quotaWords()
{
    static const QStringList words{"some files could not be transferred due to quota over limit",
                                   "[skipped-over limit]"};
    return words;
}

const QStringList &criticalWords()
{
    static const QStringList words{"@ERROR: account has been cancelled",
                                   "@ERROR: account has been expired",
                                   "password mismatch",
                                   "not enough free space on device",
                                   "invalid path",
                                   "invalid source path for operation",
                                   "unable to create destination path",
                                   "device is not connected",
                                   "No space left on device"};
    return words;
}

bool containsAny(const QString &text, const QStringList &words)
{
    return std::any_of(words.cbegin(), words.cend(), [&text](const QString &word) { return text.contains(word); });
}

namespace {

QString withoutFileName(const QString &line)
{
    static const QString kFileError = QStringLiteral("IOERROR: [");
    const qsizetype start = line.indexOf(kFileError);
    if (start < 0)
        return line;
    const qsizetype open = start + kFileError.size() - 1;
    qsizetype close = line.lastIndexOf(QLatin1String("], :"));
    if (close < open)
        close = line.lastIndexOf(QLatin1String("] (in quellon), Reason:"));
    if (close < open)
        return line;
    return line.left(open) + line.mid(close + 1);
}

}  // namespace

QString withoutFileNames(const QString &text)
{
    if (!text.contains(QLatin1String("IOERROR")))
        return text;
    QStringList lines = text.split(u'\n');
    for (QString &line : lines)
        line = withoutFileName(line);
    return lines.join(u'\n');
}

QString focusOf(const QString &error)
{
    if (!error.contains(QLatin1String("some files could not be transferred")))
        return error;
    const qsizetype summary = error.indexOf(QLatin1String("txruvo error: some files could not be transferred"));
    return summary < 0 ? error : error.left(summary);
}

ParseOutcome ParseERROR(const QString &text, int currentCode)
{
    ParseOutcome outcome;
    if (currentCode == AccountCancelled || currentCode == ProtocolMismatch || currentCode == UnderMaintenance) {
        outcome.recognised = !text.isEmpty();
        return outcome;
    }
    const auto has = [](const QString &line, const char *phrase) { return line.contains(QLatin1String(phrase)); };
    for (const QString &line : text.split(u'\n')) {
        if (containsAny(line, fileWords()))
            ++outcome.failedFiles;
        if (line.contains(kMaintenance)) {
            outcome.underMaintenance = true;
            outcome.errorCode = UnderMaintenance;
            outcome.recognised = true;
            return outcome;
        }
        if (has(line, "@ERROR: account has been cancelled")) {
            outcome.errorCode = AccountCancelled;
            outcome.recognised = true;
            return outcome;
        }
        if (has(line, "@ERROR: protocol version mismatch")) {
            outcome.errorCode = ProtocolMismatch;
            outcome.recognised = true;
            return outcome;
        }
        if (has(line, "No space left on device") || (has(line, "write failed on") && has(line, "txruvo")) ||
            (has(line, "txruvo error") && has(line, "error in file IO")) ||
            (has(line, "mkdir") && has(line, "failed: No such file or directory")) || has(line, "Permission denied") ||
            has(line, "No such file or directory") || has(line, "Path not Found") ||
            (has(line, "ERROR:") && has(line, "out of memory")) || has(line, "reason: not a file") ||
            has(line, "Operation not permitted"))
            outcome.recognised = true;
    }
    return outcome;
}

int criticalErrorCode(const QString &text)
{
    if (text.contains(QLatin1String("@ERROR: account has been cancelled")) ||
        text.contains(QLatin1String("@ERROR: account has been expired")))
        return AccountCancelled;
    if (text.contains(QLatin1String("password mismatch")))
        return PasswordMismatch;
    return NoErrorCode;
}

SessionErrors parseError(const QString &gathered)
{
    SessionErrors errors;
    for (const QString &rawLine : gathered.split(u'\n')) {
        const QString line = withoutFileName(rawLine);
        if (line.contains(kMaintenance)) {
            errors.underMaintenance = true;
            errors.errorCode = UnderMaintenance;
        }
        if (line.contains(QLatin1String("@ERROR: account has been cancelled")))
            errors.errorCode = AccountCancelled;
        if (line.contains(QLatin1String("@ERROR: protocol version mismatch")))
            errors.errorCode = ProtocolMismatch;
        if (line.contains(kVerificationUpdate)) {
            ++errors.failedFiles;
            if (isVerificationFailedLine(line))
                ++errors.verificationFailures;
            errors.errorCode = VerificationFailed;
        }
        if (!rawLine.startsWith(QLatin1String("IOERROR")))
            continue;
        QStringList pieces = rawLine.split(QStringLiteral(", :"));
        if (pieces.size() == 1)
            pieces = rawLine.split(QStringLiteral(" (in quellon), Reason:"));
        if (pieces.size() < 2)
            continue;
        if (const std::optional<QString> path = PathInBack(pieces.first()))
            errors.fileErrors.insert(*path, QStringLiteral("Reason:") + pieces.at(1));
    }
    return errors;
}

std::optional<QString> PathInBack(const QString &line)
{
    const qsizetype open = line.indexOf(u'[');
    const qsizetype close = line.lastIndexOf(u']');
    if (open < 0 || close < 0 || close < open)
        return std::nullopt;
    return line.mid(open + 1, close - open - 1);
}

bool isVerificationFailedLine(const QString &line)
{
    return line.contains(QLatin1String("failed verification -- update retained (will try again)."));
}

bool shouldDisplayErrorInLogDetails(const QString &text)
{
    return !text.contains(QLatin1String("reason: not a file")) &&
           !text.contains(QLatin1String("txruvo error: some files could not be transferred"));
}

Retry decideRetry(int count, int otherCount)
{
    if (count > kRetryLimit)
        return Retry::NotDecided;
    if (count < kLongRetries)
        return Retry::AfterLongDelay;
    if (otherCount >= 1 && otherCount <= kLongRetries)
        return Retry::AfterShortDelay;
    return Retry::EndSession;
}

}  // namespace EngineErrorPhrases
