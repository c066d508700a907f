#include "monitor/notify/NotificationRules.h"

#include "common/texts/QLLocalizedString.h"

#include <QStringList>

namespace {

QString format(const QString &key, const QStringList &arguments)
{
    QString text = QLLocalizedString(key);
    for (const QString &argument : arguments) {
        const qsizetype at = text.indexOf(QLatin1String("%@"));
        if (at < 0)
            break;
        text.replace(at, 2, argument);
    }
    return text;
}

QString files(const QVariantMap &payload, const QString &key)
{
    return format(QStringLiteral("%@ files"), {payload.value(key, QStringLiteral("0")).toString()});
}

}  // namespace

namespace NotificationRules {

bool isHidden(bool onRequest, const QVariantMap &payload)
{
    return !onRequest && payload.value(kShouldForceHide).toString() == QLatin1String("YES");
}

int calculateTotalLinesFromText(const QString &text)
{
    int lines = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines += line.isEmpty() ? 1 : int((line.size() + kCharactersPerLine - 1) / kCharactersPerLine);
    return lines;
}

State state(bool onRequest, bool isBusinessUser, const QVariantMap &payload)
{
    State state;
    const bool hasError = payload.contains(kErrorMessage);
    state.countsVisible = !onRequest && !hasError;
    state.percentage = payload.value(kPercentageQuota).toString().toInt();
    const bool personalWithRoom =
        payload.value(kAccountType).toString() == QLatin1String("Personal") && state.percentage <= 99;
    state.upgradeVisible = !isBusinessUser && !personalWithRoom;

    const QString used = payload.value(kUsedQuota).toString();
    const QString total = payload.value(kTotalQuota).toString();
    state.quotaText = format(QStringLiteral("%@ out of %@"), {used, total});
    state.upgradeText = format(QStringLiteral("Your Mac data is only protected upto %@"), {total});

    const QString next = payload.value(kNextScheduledItem).toString();
    if (hasError) {
        const QString error = payload.value(kErrorMessage).toString();
        state.nextJobExtraLines = calculateTotalLinesFromText(error);
        state.nextJobText = error;
    } else {
        state.nextJobText = next.isEmpty()
                                ? QLLocalizedString(QStringLiteral("You have no scheduled jobs"))
                                : format(QStringLiteral("Your next scheduled backup will start on %@"), {next});
    }
    if (payload.contains(kStatusMessage))
        state.nextJobText = payload.value(kStatusMessage).toString();

    state.successText = files(payload, kSuccessCount);
    state.syncText = files(payload, kSyncFileCount);
    state.totalText = files(payload, kTotalCount);
    state.failureRowVisible = payload.value(kFailureCount).toString().toInt() != 0;
    state.failureText = files(payload, kFailureCount);
    if (payload.contains(kUsername))
        state.userName = payload.value(kUsername).toString();
    return state;
}

}  // namespace NotificationRules
