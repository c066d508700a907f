#pragma once

#include <QHash>
#include <QString>

#include <optional>

// Test hook: a property-list file named by $TXRUVO_SCENARIO that makes the
// engine produce the failures and odd output a client must cope with. With
// no such variable every knob is off and the engine behaves normally.
class Scenario
{
public:
    enum class StopMode
    {
        None,
        Exit,
        Crash,
        Hang
    };
    enum class LineForm
    {
        Element,
        Bracket
    };

    static constexpr const char *kEnvironmentVariable = "TXRUVO_SCENARIO";

    // Reads the scenario named by the environment; the reason in *error when
    // the variable names a file that is not a readable dictionary.
    static std::optional<Scenario> fromEnvironment(QString *error);

    // The early end once `handled` items are done: crashes or hangs here, or
    // answers the status to exit with; none when the run goes on.
    std::optional<int> stopAfter(int handled) const;

    bool active = false;                 // a scenario file was given
    QString errorText;                   // written to the error stream at the start of the run
    std::optional<int> exitCode;         // status of a normal end, and of StopMode::Exit
    StopMode stopMode = StopMode::None;  // how the run ends early
    int stopAfterFiles = 0;              // list entries handled before stopMode applies
    QHash<QString, QString> failFiles;   // list line -> reason of a per-file error
    LineForm lineForm = LineForm::Element;
    int lineDelayMs = 0;                   // pause after each output line
    int progressLinesPerFile = 0;          // extra in-progress lines before each completion line
    bool splitWrites = false;              // each line in two writes, cut inside a UTF-8 sequence
    int splitDelayMs = 0;                  // pause between the two writes
    bool macRomanNames = false;            // file names in Mac Roman bytes instead of UTF-8
    bool omitFinalNewline = false;         // the last output line lacks its line break
    std::optional<quint64> driveCapacity;  // bytes this run may write before the drive counts as full
    std::optional<QString> password;       // the account's password, when credentials are checked
    std::optional<QString> privateKey;     // the account's private key, likewise
    std::optional<QString> proxy;          // the proxy setting the run must be given ("user:password@host:port")
    std::optional<quint64> accountSize;    // the account's total storage, as the quota reports it
    bool breakElementLines = false;        // answer element lines come broken in two after their first attribute
    std::optional<double> transferRate;    // the rate a bandwidth test reports, in KB/s, instead of the measured one
};
