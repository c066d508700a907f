#include "txruvo/Scenario.h"

#include "platform/PropertyList.h"

#include <cstdlib>

#include <unistd.h>

namespace {

Scenario::StopMode stopModeNamed(const QString &name)
{
    if (name == QLatin1String("exit"))
        return Scenario::StopMode::Exit;
    if (name == QLatin1String("crash"))
        return Scenario::StopMode::Crash;
    if (name == QLatin1String("hang"))
        return Scenario::StopMode::Hang;
    return Scenario::StopMode::None;
}

std::optional<QString> optionalText(const QVariantMap &map, const QString &key)
{
    if (!map.contains(key))
        return std::nullopt;
    return map.value(key).toString();
}

}  // namespace

std::optional<Scenario> Scenario::fromEnvironment(QString *error)
{
    Scenario scenario;
    const QString path = qEnvironmentVariable(kEnvironmentVariable);
    if (path.isEmpty())
        return scenario;
    const std::optional<QVariant> content = PropertyList::read(path, error);
    if (!content || content->typeId() != QMetaType::QVariantMap) {
        if (error && content)
            *error = QStringLiteral("not a dictionary");
        return std::nullopt;
    }
    const QVariantMap map = content->toMap();
    scenario.active = true;
    scenario.errorText = map.value(QStringLiteral("errorText")).toString();
    if (map.contains(QStringLiteral("exitCode")))
        scenario.exitCode = map.value(QStringLiteral("exitCode")).toInt();
    scenario.stopMode = stopModeNamed(map.value(QStringLiteral("stopMode")).toString());
    scenario.stopAfterFiles = map.value(QStringLiteral("stopAfterFiles")).toInt();
    const QVariantMap failures = map.value(QStringLiteral("failFiles")).toMap();
    for (auto it = failures.cbegin(); it != failures.cend(); ++it)
        scenario.failFiles.insert(it.key(), it.value().toString());
    if (map.value(QStringLiteral("lineForm")).toString() == QLatin1String("bracket"))
        scenario.lineForm = LineForm::Bracket;
    scenario.lineDelayMs = map.value(QStringLiteral("lineDelayMs")).toInt();
    scenario.progressLinesPerFile = map.value(QStringLiteral("progressLinesPerFile")).toInt();
    scenario.splitWrites = map.value(QStringLiteral("splitWrites")).toBool();
    scenario.splitDelayMs = map.value(QStringLiteral("splitDelayMs")).toInt();
    scenario.macRomanNames = map.value(QStringLiteral("macRomanNames")).toBool();
    scenario.omitFinalNewline = map.value(QStringLiteral("omitFinalNewline")).toBool();
    if (map.contains(QStringLiteral("driveCapacity")))
        scenario.driveCapacity = map.value(QStringLiteral("driveCapacity")).toULongLong();
    scenario.password = optionalText(map, QStringLiteral("password"));
    scenario.privateKey = optionalText(map, QStringLiteral("privateKey"));
    scenario.proxy = optionalText(map, QStringLiteral("proxy"));
    if (map.contains(QStringLiteral("accountSize")))
        scenario.accountSize = map.value(QStringLiteral("accountSize")).toULongLong();
    scenario.breakElementLines = map.value(QStringLiteral("breakElementLines")).toBool();
    if (map.contains(QStringLiteral("transferRate")))
        scenario.transferRate = map.value(QStringLiteral("transferRate")).toDouble();
    return scenario;
}

std::optional<int> Scenario::stopAfter(int handled) const
{
    if (stopMode == StopMode::None || handled != stopAfterFiles)
        return std::nullopt;
    switch (stopMode) {
    case StopMode::Crash:
        std::abort();
    case StopMode::Hang:
        for (;;)
            ::pause();
    case StopMode::Exit:
    case StopMode::None:
        break;
    }
    return exitCode.value_or(1);
}
