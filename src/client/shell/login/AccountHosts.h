#pragma once

#include <QString>
#include <QUrl>

// The account's web addresses that are configuration (Localizable keys), and
// the pages the client opens on them.
namespace AccountHosts {

// The second brand's script host, which answers its account details.
inline const QString kSecondBrandScriptHostKey = QStringLiteral("QuellonScriptHostURL");
// The first brand's web site (reactivation, download and web-page tokens in both brands).
inline const QString kTarnixWebSiteKey = QStringLiteral("TarnixWebSiteURL");
// The running brand's own web site (help, sign-up, forgotten password).
inline const QString kBrandWebSiteKey = QStringLiteral("BrandWebSiteURL");

QUrl tarnixWebSite();
QUrl brandWebSite();
// A page on a site: the site's address with the path and, when given, the query.
QUrl page(const QUrl &site, const QString &path, const QString &query = {});

}  // namespace AccountHosts
