#pragma once

#include <QString>
#include <QTemporaryFile>

#include <memory>
#include <vector>

// The credentials of one engine run. The engine is given the path of a file
// that only this user can read, never the secret itself, since every other
// user of the machine can read a command line. The files live as long as this
// object, which the runner keeps until its run has finished. Each file's name
// carries the id of the process that wrote it, so that files a killed process
// left behind are known and removed.
class EngineSecretFiles
{
public:
    // Writes the secret to a new 0600 file in the user's private runtime
    // folder; returns its path, or "" when the file could not be written.
    QString add(const QString &secret);

    // The private folder the files are written in (mode 0700).
    static QString folder();

    // Removes the files of processes that no longer run. Done once per process
    // before its first file is written.
    static void removeLeftovers();

private:
    std::vector<std::unique_ptr<QTemporaryFile>> mFiles;
};
