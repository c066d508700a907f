#include "desktop/errorreport/ErrorReport.h"

#include "common/account/QuotaFileKeys.h"
#include "common/categories/QuellonExtension.h"
#include "common/files/TXSupportFileManager.h"
#include "common/logging/QLLogger.h"
#include "common/login/StoredLoginDetails.h"
#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/webservice/URLRequest.h"
#include "platform/PathTemplate.h"
#include "platform/PropertyList.h"

#include <QFile>
#include <QSysInfo>
#include <QUrl>

#include <algorithm>

namespace ErrorReport {

namespace {

const QString kServicePath = QStringLiteral("/cgi-bin/Notify_unicode");
constexpr std::chrono::seconds kTimeout{60};

QVariantMap lastLoginDetails()
{
    return PropertyList::readDictionary(
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath));
}

std::optional<double> storedMegabytes(const QVariant &value)
{
    if (!value.isValid())
        return std::nullopt;
    bool isNumber = false;
    const double number = quellonExtension::decryptedString(value.toString()).toDouble(&isNumber);
    return isNumber ? std::optional<double>(number) : std::nullopt;
}

QByteArray formField(const char *name, const QString &value)
{
    return QByteArray(name) + '=' + QUrl::toPercentEncoding(value);
}

}  // namespace

Facts gatherFacts(const QString &userName)
{
    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    Facts facts;
    facts.bundleVersion = QLLocalizedString(QStringLiteral("BundleVersion"));
    facts.releaseDate = QLLocalizedString(QStringLiteral("ReleaseDate"));
    facts.operatingSystem = QSysInfo::prettyProductName();
    facts.operatingSystemVersion = QSysInfo::productVersion();
    const QVariantMap proxy = PropertyList::readDictionary(files.pathForApplicationFile(ApplicationFile::ProxySetting));
    facts.connectsThroughProxy = proxy.value(QStringLiteral("ProxyEnable")).toString().toInt() != 0;
    const QString detailsPath =
        PathTemplate::fillTemplate(QLLocalizedString(QStringLiteral("UserDetailsPath")), {userName});
    if (QFile::exists(detailsPath)) {
        const QVariantMap details = PropertyList::readDictionary(detailsPath);
        const double used = storedMegabytes(details.value(QuotaFileKeys::kUsedQuotaSize)).value_or(0);
        facts.quota =
            Quota{storedMegabytes(details.value(QuotaFileKeys::kTotalQuotaSize)).value_or(0), std::max(0.0, used)};
    }
    facts.interactiveTraceTail =
        QLLogger::getUTT8StringFromFile(files.pathForApplicationFile(ApplicationFile::InteractiveTraceFilePath));
    facts.monitorTraceTail =
        QLLogger::getUTT8StringFromFile(files.pathForApplicationFile(ApplicationFile::MonitorTraceFilePath));
    return facts;
}

QString reportBody(const Form &form, const Facts &facts)
{
    QString body;
    body += Brand::pick(QStringLiteral("<<< USER FEEDBACK FROM TARNIX Rizered version %1 >>>\n"),
                        QStringLiteral("<<< USER FEEDBACK FROM QUELLON Rizered version %1 >>>\n"))
                .arg(facts.bundleVersion);
    body += QStringLiteral("User's Operating System: %1 \n").arg(facts.operatingSystem);
    body += QStringLiteral("OS Version: %1\n").arg(facts.operatingSystemVersion);
    body += QStringLiteral("Does the user connect through a proxy server? %1\n")
                .arg(facts.connectsThroughProxy ? QStringLiteral("Connected via Proxy server")
                                                : QStringLiteral("Direct (No Proxy Server)"));
    body += Brand::pick(QStringLiteral("Tarnix  Username: %1 \n"), QStringLiteral("Quellon Username: %1 \n"))
                .arg(form.userName);
    if (facts.quota) {
        body += QStringLiteral("User's Quota: %1 MB\n").arg(facts.quota->totalMB, 0, 'f', 0);
        body += QStringLiteral("User's Used Space: %1 MB\n").arg(facts.quota->usedMB, 0, 'f', 0);
    }
    body += QStringLiteral("User's e-mail address: (%1) \n").arg(form.email);
    body += QStringLiteral("User's Contact Phone Number: (%1) \n").arg(form.phone);
    body += QStringLiteral("TroubleTicketNumber(if any) : (%1) \n").arg(form.ticket);
    body += QStringLiteral("\nUser 's technical issues/comments/suggestions:\n\n") + form.message + '\n';
    body += QStringLiteral("-------------- Interactive Trace Log ----------\n\n") + facts.interactiveTraceTail +
            QStringLiteral("\n\n");
    body += QStringLiteral("-------------- Monitor Trace Log ----------\n\n") + facts.monitorTraceTail +
            QStringLiteral("\n\n");
    body += QStringLiteral("Release Date : %1").arg(facts.releaseDate) + '\n' + QString(96, '*') + '\n';
    return body;
}

QByteArray requestBody(const Form &form, const QString &body, const QString &supportAddress)
{
    return formField("EMAIL", supportAddress) + '&' + formField("SUBJECT", form.subject) + '&' +
           formField("CONTENT", body) + '&' + formField("user_email", form.email);
}

URLRequest request(const Form &form, const QString &body)
{
    URLRequest request;
    request.url = QUrl(QLLocalizedString(QStringLiteral("ErrorReportServiceURL")) + kServicePath);
    request.method = "POST";
    request.headers = {
        {URLRequest::kUserAgentHeader, Brand::pick(QStringLiteral("Tarnix"), QStringLiteral("Quellon")).toUtf8()},
        {URLRequest::kContentTypeHeader, "application/x-www-form-urlencoded"}};
    request.body = requestBody(form, body, QLLocalizedString(QStringLiteral("SupportEmailAddress")));
    request.timeout = kTimeout;
    return request;
}

QString defaultSubject()
{
    return Brand::pick(QStringLiteral("Tarnix Rizered user feedback"), QStringLiteral("Quellon Rizered user feedback"));
}

QString userNameLabel() { return Brand::pick(QStringLiteral("Tarnix username"), QStringLiteral("Quellon username")); }

std::optional<QString> lastUserName()
{
    const QString path =
        TXSupportFileManager::txFileManager().pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath);
    if (!QFile::exists(path))
        return std::nullopt;
    const QVariantMap details = lastLoginDetails();
    if (Brand::isTarnix())
        return details.value(StoredLoginDetails::kTarnixUsername).toString();
    const QString quellonName = details.value(StoredLoginDetails::kQuellonUserName).toString();
    return quellonName.isEmpty() ? details.value(StoredLoginDetails::kUsername).toString() : quellonName;
}

bool isNewArchitecture()
{
    const QVariantMap details = lastLoginDetails();
    const QString serverKey = details.value(StoredLoginDetails::kQuellonUserName).toString();
    return details.value(StoredLoginDetails::kServerName).toString().startsWith(QLatin1String("ruvo")) ||
           details.value(serverKey).toString().startsWith(QLatin1String("ruvo"));
}

}  // namespace ErrorReport
