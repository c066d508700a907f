#include "EngineHarness.h"

#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>

namespace {

constexpr int kRunTimeoutMs = 20000;

QString decodeEntities(QString value)
{
    static const QRegularExpression numeric(QStringLiteral("&#(\\d+);"));
    QRegularExpressionMatch match;
    while ((match = numeric.match(value)).hasMatch())
        value.replace(match.capturedStart(), match.capturedLength(), QChar(match.captured(1).toInt()));
    return value.replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&apos;"), QLatin1String("'"))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

void writePrivate(const QString &path, const QByteArray &value)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(value);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

}  // namespace

QList<QHash<QString, QString>> EngineHarness::Run::lines() const
{
    static const QRegularExpression attribute(QStringLiteral(" (\\w+)=\"([^\"]*)\""));
    QList<QHash<QString, QString>> parsed;
    for (const QString &line : QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts)) {
        QHash<QString, QString> attributes;
        for (const QRegularExpressionMatch &match : attribute.globalMatch(line))
            attributes.insert(match.captured(1), decodeEntities(match.captured(2)));
        parsed << attributes;
    }
    return parsed;
}

QHash<QString, QHash<QString, QString>> EngineHarness::Run::completed() const
{
    QHash<QString, QHash<QString, QString>> byName;
    for (const auto &line : lines()) {
        if (line.value("per") == "100")
            byName.insert(line.value("fname"), line);
    }
    return byName;
}

void EngineHarness::SetUp()
{
    SandboxFixture::SetUp();
    QDir().mkpath(drive());
    QDir().mkpath(operation());
    QDir().mkpath(source(QString()));
    setControl(QStringLiteral("intCancel"), "1");
    setControl(QStringLiteral("QLThrottle"), "100");
    writePrivate(operation() + "/password", "secret");
    writePrivate(operation() + "/key", "TXE1:key");
}

QString EngineHarness::engine() const { return qEnvironmentVariable("TX_BIN_DIR") + "/txruvo"; }

QString EngineHarness::userRoot() const { return volumes() + "/BackupDrive/TarnixVidezud/alice"; }

QString EngineHarness::drive() const { return userRoot() + "/Office"; }

QString EngineHarness::operation() const { return root() + "/operation/Backup"; }

QString EngineHarness::source(const QString &relative) const { return root() + "/local" + relative; }

void EngineHarness::writeList(const QStringList &lines, const QString &name)
{
    writeText(operation() + '/' + name, lines.join('\n').toUtf8());
}

void EngineHarness::setScenario(const QVariantMap &scenario)
{
    mScenarioPath = root() + "/scenario.plist";
    ASSERT_TRUE(PropertyList::write(mScenarioPath, scenario));
}

void EngineHarness::setControl(const QString &fileName, const QByteArray &value)
{
    writeText(operation() + '/' + fileName, value);
}

QStringList EngineHarness::backupVector(bool keepVersions) const
{
    const QString o = operation();
    QStringList vector = {engine(),
                          "--o=" + o + "/OutData_0.txt",
                          "--e=" + o + "/ErrorData_0.txt",
                          "--bw-file=" + o + "/QLThrottle",
                          "--relative",
                          "--encode",
                          "--enc-opt",
                          "--add-progress",
                          "--xml-output",
                          "--portable",
                          "--portable-dest=" + drive()};
    if (!keepVersions)
        vector << "--no-versions";
    vector << "--temp=" + o << "--port=443"
           << "--pvt-key=" + o + "/key"
           << "--password-file=" + o + "/password"
           << "--chk-cancel=" + o + "/intCancel"
           << "--files-from=" + o + "/SourceA"
           << "/"
           << "alice@10.0.0.1::home" + drive();
    return vector;
}

QStringList EngineHarness::syncVector(const QString &base) const
{
    const QString o = operation();
    return {engine(),
            "--o=" + o + "/OutData_0.txt",
            "--e=" + o + "/ErrorData_0.txt",
            "--bw-file=" + o + "/QLThrottle",
            "--encode",
            "--enc-opt",
            "--add-progress",
            "--xml-output",
            "--portable",
            "--portable-dest=" + drive(),
            "--no-versions",
            "--temp=" + o,
            "--port=443",
            "--pvt-key=" + o + "/key",
            "--password-file=" + o + "/password",
            "--chk-cancel=" + o + "/intCancel",
            "--files-from=" + o + "/SourceA",
            base,
            "alice@10.0.0.1::home" + drive()};
}

QStringList EngineHarness::restoreVector(const QString &base, const QString &target, bool relative) const
{
    const QString o = operation();
    return {engine(),
            "--o=" + o + "/OutData_0.txt",
            "--e=" + o + "/ErrorData_0.txt",
            relative ? "--relative" : "--no-relative",
            "--encode",
            "--enc-opt",
            "--mask-name",
            "--portable",
            "--portable-dest=" + userRoot(),
            "--add-progress",
            "--xml-output",
            "--temp=" + o,
            "--port=443",
            "--timeout=900",
            "--pvt-key=" + o + "/key",
            "--password-file=" + o + "/password",
            "--chk-cancel=" + o + "/intCancel",
            "--files-from=" + o + "/SourceA",
            "alice@10.0.0.1::home" + userRoot() + base,
            target};
}

std::unique_ptr<QProcess> EngineHarness::start(const QStringList &vector)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!mScenarioPath.isEmpty())
        environment.insert(QStringLiteral("TXRUVO_SCENARIO"), mScenarioPath);
    process->setProcessEnvironment(environment);
    process->start(vector.first(), vector.mid(1));
    EXPECT_TRUE(process->waitForStarted()) << qPrintable(vector.first());
    return process;
}

EngineHarness::Run EngineHarness::collect(QProcess &process)
{
    EXPECT_TRUE(process.waitForFinished(kRunTimeoutMs));
    Run result;
    result.exitCode = process.exitCode();
    result.exitStatus = process.exitStatus();
    result.stdOut = process.readAllStandardOutput();
    result.stdErr = process.readAllStandardError();
    result.output = readText(operation() + "/OutData_0.txt");
    result.errors = QString::fromUtf8(readText(operation() + "/ErrorData_0.txt"));
    return result;
}

EngineHarness::Run EngineHarness::run(const QStringList &vector)
{
    const std::unique_ptr<QProcess> process = start(vector);
    return collect(*process);
}

QByteArray stored(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
