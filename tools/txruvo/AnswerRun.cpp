#include "txruvo/AnswerRun.h"

#include "txruvo/Credentials.h"
#include "txruvo/ExitStatus.h"
#include "txruvo/ProgressLine.h"

#include <cstdio>
#include <unistd.h>

AnswerRun::AnswerRun(const CommandLine &commandLine, const Scenario &scenario)
    : mCommandLine(commandLine)
    , mScenario(scenario)
    , mOut(STDOUT_FILENO)
{
    mOut.distortAs(&mScenario);
}

std::optional<int> AnswerRun::begin()
{
    if (!mScenario.errorText.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(mScenario.errorText));
        std::fflush(stderr);
    }
    if (const std::optional<QString> refusal = Credentials(mCommandLine, mScenario).refusal())
        return fail(*refusal);
    return std::nullopt;
}

std::optional<int> AnswerRun::write(const AnswerLine &line)
{
    if (const std::optional<int> status = mScenario.stopAfter(mLinesWritten))
        return *status;
    if (mScenario.lineForm == Scenario::LineForm::Bracket)
        mOut.writeLine(QByteArray('[' + line.columns.join(QStringLiteral("][")).toUtf8() + ']'));
    else
        mOut.writeLine(elementText(line));
    ++mLinesWritten;
    return std::nullopt;
}

std::optional<int> AnswerRun::writePlain(const QString &line)
{
    if (const std::optional<int> status = mScenario.stopAfter(mLinesWritten))
        return *status;
    mOut.writeLine(line);
    ++mLinesWritten;
    return std::nullopt;
}

QByteArray AnswerRun::elementText(const AnswerLine &line) const
{
    QString text = u'<' + line.element;
    for (qsizetype i = 0; i < line.attributes.size(); ++i) {
        const auto &[key, value] = line.attributes.at(i);
        // The broken form: the line ends after its first attribute, the rest follows on the next.
        const QChar separator = i == 1 && mScenario.breakElementLines ? u'\n' : u' ';
        text += separator + key + QStringLiteral("=\"") + escapeAttribute(value) + u'"';
    }
    return (text + QStringLiteral("/>")).toUtf8();
}

int AnswerRun::fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return ExitStatus::kFailed;
}

int AnswerRun::finish() const
{
    if (const std::optional<int> status = mScenario.stopAfter(mLinesWritten))
        return *status;
    return mScenario.exitCode.value_or(0);
}
