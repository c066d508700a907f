#pragma once

#include "common/messaging/DesktopNotificationKeys.h"

#include <QString>
#include <QVariantMap>

#include <optional>

// What the notification window shows for a payload: the daemon's message
// after a backup (type 1) or the status summary the user asked for from the
// status menu ("on request").
//
//   lineCount("a\n\nb") == 3; a line of 70 characters counts 1, of 71 counts 2
//   on request: no count block; "Personal" under 100 % or a business account: no upgrade offer
namespace NotificationRules {

// The payload's keys.
using namespace DesktopNotificationKeys;

inline constexpr int kCharactersPerLine = 70;

struct State
{
    bool countsVisible = true;
    bool upgradeVisible = true;
    bool failureRowVisible = false;
    std::optional<QString> userName;  // none: the label keeps what it showed
    QString quotaText;                // "%@ out of %@"
    QString upgradeText;              // "Your Mac data is only protected upto %@"
    int percentage = 0;
    QString nextJobText;
    int nextJobExtraLines = 0;                              // lines of an error text; the label grows by 18 points each
    QString successText, syncText, failureText, totalText;  // "%@ files"
};

// A daemon message that asks to stay hidden ("ShouldForceHide" "YES") shows nothing.
bool isHidden(bool onRequest, const QVariantMap &payload);

// The display lines of a text: each line break starts a line, an empty line counts 1,
// a longer line one for every 70 characters begun.
int calculateTotalLinesFromText(const QString &text);

State state(bool onRequest, bool isBusinessUser, const QVariantMap &payload);

}  // namespace NotificationRules
