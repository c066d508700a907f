#pragma once

#include <QString>
#include <QVariant>

class ScriptController;

// The outcome of a ScriptController request: one of the three, once per request.
class ScriptControllerDelegate
{
public:
    virtual ~ScriptControllerDelegate() = default;

    // The reply read as a dictionary (or, for a JSON request, a dictionary or an array).
    virtual void didScriptControllerFinishedSuccessfully(const QVariant &result, ScriptController *controller) = 0;
    // The request failed; the text is the fixed message for the user.
    virtual void connectionError(const QString &error, ScriptController *controller) = 0;
    // The reply could not be read; the text says why.
    virtual void parsingFailedWithError(const QString &error, ScriptController *controller) = 0;
};
