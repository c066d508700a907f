#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

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
    // From now on lines are gathered and written whole, several in one
    // write, at most `hold` after the first of them (or when many wait).
    void holdLines(std::chrono::milliseconds hold) { mHold = hold; }

    void writeLine(const QByteArray &line);
    void writeLine(const QString &line) { writeLine(line.toUtf8()); }
    // Whole lines, each ended by its line break, held (see holdLines())
    // since `firstHeldAt`, the time the first of them was made.
    void writeHeldLines(const QByteArray &lines, std::chrono::steady_clock::time_point firstHeldAt);
    // Whether held lines have waited their time.
    bool isDue() const;
    // Writes the held lines now.
    void flush();

private:
    void writeAll(const QByteArray &bytes);

    int mFd;
    bool mOwnsFd = false;
    const Scenario *mScenario = nullptr;
    bool mLineBreakOwed = false;  // with omitFinalNewline, each break goes out with the next line
    std::optional<std::chrono::milliseconds> mHold;
    QByteArray mHeld;
    std::chrono::steady_clock::time_point mFirstHeldAt;
};
