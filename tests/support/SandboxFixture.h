#pragma once

#include "common/context/ProgramContext.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Moves every root of the program (home, XDG folders, support root, volumes)
// into a fresh temporary folder for the test, and puts them back afterwards.
// Each test runs in a program context of its own, so no test sees another's
// user, texts or shared state.
class SandboxFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString root() const { return mDir.path(); }
    QString home() const { return mDir.path() + "/home"; }
    QString volumes() const { return mDir.path() + "/volumes"; }
    QString support() const { return mDir.path() + "/support"; }
    // The application's own folder of the user's data, where its working files belong.
    QString applicationFolder() const { return home() + "/.local/share/TarnixVidezud"; }

    // Writes a text file, making its folders.
    static void writeText(const QString &path, const QByteArray &content);
    static QByteArray readText(const QString &path);

private:
    QTemporaryDir mDir;
    std::unique_ptr<ProgramContext> mContext;
    QList<QPair<QByteArray, QByteArray>> mSaved;
};
