#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The receipt an installation leaves beside the programs: a first line with
// the program's name and version, then one installed file a line, by its
// absolute path. Both brands install into one folder and share some files (the
// engine, the images); each lists them, so a file another receipt beside this
// one still lists stays for that installation. A line that names no safe path
// to remove is refused, never followed.
class InstallReceipt
{
public:
    static InstallReceipt read(const QString &receiptPath);

    // Why the receipt could not be read, or "".
    QString problem() const { return mProblem; }
    // The files of this installation alone.
    QStringList installedFiles() const { return mFiles; }
    QStringList refusals() const { return mRefusals; }
    // The folders that hold the installed files, up to the receipt's own, deepest first.
    QStringList foldersDeepestFirst() const;

private:
    static QStringList listedPaths(const QString &receiptPath, QString *problem);

    QString mFolder;
    QString mProblem;
    QStringList mFiles;
    QStringList mRefusals;
};
