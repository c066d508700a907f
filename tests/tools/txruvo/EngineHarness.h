#pragma once

#include "support/SandboxFixture.h"

#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

// Runs the stand-in engine as the client does: a temporary drive with a
// data root "<volume>/TarnixVidezud/alice/Office", an operation folder with
// the cancel and throttle files, private credential files, list files, and
// the argument vectors of the backup and restore sessions.
class EngineHarness : public SandboxFixture
{
protected:
    struct Run
    {
        int exitCode = -1;
        QProcess::ExitStatus exitStatus = QProcess::NormalExit;
        QByteArray output;  // the --o file
        QString errors;     // the --e file
        QByteArray stdOut;
        QByteArray stdErr;

        QList<QHash<QString, QString>> lines() const;  // the element lines, attributes decoded
        // The completion lines by file name (a backup's copies run in no fixed order).
        QHash<QString, QHash<QString, QString>> completed() const;
    };

    void SetUp() override;

    QString engine() const;
    QString userRoot() const;                       // "<volume>/TarnixVidezud/alice"
    QString drive() const;                          // the computer folder "<userRoot>/Office"
    QString operation() const;                      // the operation folder
    QString source(const QString &relative) const;  // a path below the local source tree

    void writeList(const QStringList &lines, const QString &name = QStringLiteral("SourceA"));
    void setScenario(const QVariantMap &scenario);
    void setControl(const QString &fileName, const QByteArray &value);  // "intCancel", "QLThrottle"

    // The first-launch backup vector (without "--no-versions" unless asked).
    QStringList backupVector(bool keepVersions = true) const;
    // The first-launch sync vector over a base folder.
    QStringList syncVector(const QString &base) const;
    // The restore vector reading lines below "<userRoot><base>" into target.
    QStringList restoreVector(const QString &base, const QString &target, bool relative = true) const;

    Run run(const QStringList &vector);
    // Starts the engine without waiting; the caller owns the process.
    std::unique_ptr<QProcess> start(const QStringList &vector);
    Run collect(QProcess &process);

    QString mScenarioPath;
};

// The stored content of a file, or a null array when it is absent.
QByteArray stored(const QString &path);
