#pragma once

#include "txruvo/CommandLine.h"
#include "txruvo/LineWriter.h"
#include "txruvo/Scenario.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// One line of an answer: an element `<name key="value" .../>` with the
// values entity-encoded, or, when the scenario asks for bracketed lines, the
// columns "[a][b]" in the order of the client's column list.
struct AnswerLine
{
    QString element;
    QList<QPair<QString, QString>> attributes;
    QStringList columns;
};

// What the operations that answer on their standard output share (quota,
// version list, bandwidth test): the scenario's error text, early end and
// line distortions, the credential check, and their error and exit status.
class AnswerRun
{
public:
    AnswerRun(const CommandLine &commandLine, const Scenario &scenario);

    const CommandLine &commandLine() const { return mCommandLine; }
    const Scenario &scenario() const { return mScenario; }

    // Before the answer: writes the scenario's error text and checks the
    // credentials; the status to exit with when the run ends here.
    std::optional<int> begin();
    // One answer line, unless the scenario ends the run before it; then the
    // status to exit with.
    std::optional<int> write(const AnswerLine &line);
    // A line taken as it stands (the engine's own message lines), counted
    // like an answer line.
    std::optional<int> writePlain(const QString &line);
    // A run-ending error on the standard error stream; returns the status.
    int fail(const QString &message);
    // The status of a run that answered.
    int finish() const;

private:
    QByteArray elementText(const AnswerLine &line) const;

    const CommandLine &mCommandLine;
    const Scenario &mScenario;
    LineWriter mOut;
    int mLinesWritten = 0;
};
