#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class ProgramContext;

// The readers of the user's files find them through the program context: this
// gives them one, for the whole fuzzing run, with every root of the program in
// a temporary folder and the user "fuzz" logged in. Built on first use.
class FuzzSandbox
{
public:
    static FuzzSandbox &instance();
    ~FuzzSandbox();

    static inline const QString kUserName = QStringLiteral("fuzz");

    QString root() const { return mFolder.path(); }
    // Replaces the file with the bytes, making its folder; false when it cannot be written.
    static bool put(const QString &path, const QByteArray &bytes);

private:
    FuzzSandbox();

    QTemporaryDir mFolder;
    std::unique_ptr<ProgramContext> mContext;
};
