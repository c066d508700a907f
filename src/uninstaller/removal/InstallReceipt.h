#pragma once

#include <QString>
#include <QStringList>

// The receipt an installation leaves beside the programs: one installed file
// a line, absolute or relative to the receipt's folder. Only what it lists is
// taken for the installation; a line that names no safe path to remove is
// refused, never followed.
class InstallReceipt
{
public:
    static InstallReceipt read(const QString &receiptPath);

    // Why the receipt could not be read, or "".
    QString problem() const { return mProblem; }
    QStringList installedFiles() const { return mFiles; }
    QStringList refusals() const { return mRefusals; }
    // The folders that hold the installed files, up to the receipt's own, deepest first.
    QStringList foldersDeepestFirst() const;

private:
    QString mFolder;
    QString mProblem;
    QStringList mFiles;
    QStringList mRefusals;
};
