#pragma once

#include <QString>

// The failure texts that several operation controllers share, for the cases
// in which the engine or the index leaves them without an answer.
namespace ControllerTexts {

// An index reader whose account has no index user (sync mode before the
// sync account is known).
inline const QString kNoIndexUser =
    QStringLiteral("The backup index cannot be read: no sync account is known for this user.");

// An engine run that ended with neither output nor error text (an engine that
// died silently, or was stopped).
inline const QString kNoEngineAnswer = QStringLiteral("The engine ended without an answer.");

// The engine's phrase for an account under maintenance, and what the user is told then.
inline const QString kMaintenancePhrase = QStringLiteral("account is under maintenance");
inline const QString kMaintenanceAlert = QStringLiteral("Your account is under maintenance. Try later.");

}  // namespace ControllerTexts
