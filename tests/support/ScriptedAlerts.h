#pragma once

#include "desktop/alerts/AlertPresenter.h"

#include <QList>
#include <QStringList>

#include <deque>

// Answers alerts from a script, in order; an alert beyond the script gets the unscripted
// answer (closed without a button, unless a test says otherwise).
class ScriptedAlerts : public AlertPresenter
{
public:
    int runModalAlert(const AlertRequest &alert) override
    {
        shown.append(alert);
        if (answers.empty())
            return unscripted;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showAlert(const AlertRequest &alert) override { shown.append(alert); }

    QStringList texts() const
    {
        QStringList all;
        for (const AlertRequest &alert : shown)
            all.append(alert.message);
        return all;
    }

    std::deque<int> answers;
    int unscripted = -2;
    QList<AlertRequest> shown;
};
