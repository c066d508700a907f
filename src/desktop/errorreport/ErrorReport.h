#pragma once

#include "common/webservice/URLRequest.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The error report a user sends from the report window: the body of the
// report (the form, facts about the computer and the account, the tails of
// the interactive and monitor trace logs) and the form request that carries
// it to the maker's report service.
namespace ErrorReport {

struct Form
{
    QString userName;
    QString email;
    QString phone;
    QString ticket;
    QString subject;
    QString message;
};

struct Quota
{
    double totalMB = 0;
    double usedMB = 0;
};

// What the report tells besides the form.
struct Facts
{
    QString bundleVersion;
    QString releaseDate;
    QString operatingSystem;
    QString operatingSystemVersion;
    bool connectsThroughProxy = false;
    std::optional<Quota> quota;  // none without the user-details file
    QString interactiveTraceTail;
    QString monitorTraceTail;
};

// The facts of this computer and of the form's user, read from the
// application's files (trace logs by their last 20,480 characters); a missing
// file leaves its fact out.
Facts gatherFacts(const QString &userName);

QString reportBody(const Form &form, const Facts &facts);
// The form fields EMAIL, SUBJECT, CONTENT and user_email, each value
// form-encoded so that "&", "=", "+" and "%" arrive as typed.
QByteArray requestBody(const Form &form, const QString &body, const QString &supportAddress);
URLRequest request(const Form &form, const QString &body);

// The subject the form starts with.
QString defaultSubject();
// The text in front of the user name field.
QString userNameLabel();
// The user name of the last login ("" when nobody logged in), and whether
// its account is on the new architecture (for the trace).
std::optional<QString> lastUserName();
bool isNewArchitecture();

}  // namespace ErrorReport
