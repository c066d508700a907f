#include "client/shell/login/AccountHosts.h"

#include "common/texts/QLLocalizedString.h"

namespace AccountHosts {

QUrl tarnixWebSite() { return QUrl(QLLocalizedString(kTarnixWebSiteKey)); }

QUrl brandWebSite() { return QUrl(QLLocalizedString(kBrandWebSiteKey)); }

QUrl page(const QUrl &site, const QString &path, const QString &query)
{
    QUrl url = site;
    url.setPath(path);
    if (!query.isEmpty())
        url.setQuery(query);
    return url;
}

}  // namespace AccountHosts
