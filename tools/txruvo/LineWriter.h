#pragma once

#include <QByteArray>
#include <QString>

class Scenario;

// Writes whole lines to a file descriptor: each line with its line break in
// one write, so a reader polling the file never sees a torn line (unless
// the scenario asks for exactly that).
class LineWriter
{
public:
    // A writer on an already open descriptor (stdout, stderr); not closed.
    explicit LineWriter(int fd);
    ~LineWriter();
    LineWriter(const LineWriter &) = delete;
    LineWriter &operator=(const LineWriter &) = delete;

    // Creates or truncates the file; the reason in *error on failure.
    bool openFile(const QString &path, QString *error);
    // Applies the scenario's line distortions (split writes, delays, no final line break).
    void distortAs(const Scenario *scenario) { mScenario = scenario; }

    void writeLine(const QByteArray &line);
    void writeLine(const QString &line) { writeLine(line.toUtf8()); }

private:
    void writeAll(const QByteArray &bytes);

    int mFd;
    bool mOwnsFd = false;
    const Scenario *mScenario = nullptr;
    bool mLineBreakOwed = false;  // with omitFinalNewline, each break goes out with the next line
};
