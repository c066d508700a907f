#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// How the session reads the engine's error text: fixed phrases of the engine's
// messages, matched case-sensitively, decide whether a piece of error text is a
// network trouble worth a retry, a failed file, a full quota, a critical
// failure of the account or the drive, or nothing known.
namespace EngineErrorPhrases {

// Session error codes.
enum ErrorCode
{
    NoErrorCode = 0,
    AccountCancelled = 1001,  // cancelled or expired
    VerificationFailed = 1002,
    ProtocolMismatch = 1003,
    UnderMaintenance = 1004,
    PasswordMismatch = 1005,
};

const QStringList &networkWords();
const QStringList &fileWords();
const QStringList &quotaWords();
const QStringList &criticalWords();
bool containsAny(const QString &text, const QStringList &words);

inline const QString kNoFreeSpace = QStringLiteral("error in file write");
inline const QString kMaintenance = QStringLiteral("account is under maintenance");
inline const QString kEncryptionVerification = QStringLiteral("encryption verification failed");
inline const QString kVerificationUpdate = QStringLiteral("failed verification -- update");

// The error text with the file name of each per-file error line taken out
// ("IOERROR: [<name>], : <reason>" becomes "IOERROR: , : <reason>"): a file's
// own name never decides what an error means.
QString withoutFileNames(const QString &text);

// The part of an error text that decides on a retry: what stands before the
// engine's closing summary of untransferred files.
QString focusOf(const QString &error);

// What the line-by-line reading of an error text found.
struct ParseOutcome
{
    bool recognised = false;
    int failedFiles = 0;
    int errorCode = NoErrorCode;  // unchanged when 0
    bool underMaintenance = false;
};
// currentCode: a code already set that makes every text count as recognised.
ParseOutcome ParseERROR(const QString &text, int currentCode);

// The code a critical text sets: 1001, 1005 or 0.
int criticalErrorCode(const QString &text);

// The end-of-session reading of all gathered error text.
struct SessionErrors
{
    QMap<QString, QString> fileErrors;  // path -> "Reason: ..."
    int failedFiles = 0;
    int verificationFailures = 0;
    int errorCode = NoErrorCode;
    bool underMaintenance = false;
};
SessionErrors parseError(const QString &gathered);

// The text between a line's first "[" and its last "]"; none when there is no such pair.
std::optional<QString> PathInBack(const QString &line);
bool isVerificationFailedLine(const QString &line);
// Whether a backup's session log shows this error text.
bool shouldDisplayErrorInLogDetails(const QString &text);

// The retry decision for an engine that stopped wanting a retry.
enum class Retry
{
    NotDecided,
    AfterLongDelay,
    AfterShortDelay,
    EndSession
};
// count: the engine's retries so far; otherCount: the other engine's.
Retry decideRetry(int count, int otherCount);
inline constexpr int kLongRetries = 9;
inline constexpr int kRetryLimit = 10;

}  // namespace EngineErrorPhrases
