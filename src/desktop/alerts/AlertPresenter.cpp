#include "desktop/alerts/AlertPresenter.h"

#include "common/texts/QLLocalizedString.h"

namespace {

QString localized(const char *key) { return QLLocalizedString(QLatin1String(key)); }

}  // namespace

void AlertPresenter::inform(const AlertRequest &alert) { runModalAlert(alert); }

void AlertPresenter::inform(const QString &message)
{
    inform({localized("ApplicationName"), message, localized("OK"), {}, {}, {}});
}

bool AlertPresenter::confirm(const AlertRequest &question) { return runModalAlert(question) == kAnswerDefault; }

bool AlertPresenter::confirm(const QString &question)
{
    return confirm({localized("ApplicationName"), question, localized("Yes"), localized("No"), {}, {}});
}
