#include "monitor/web/VersionCheck.h"

#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"

#include <QUrlQuery>

namespace {

const QString kVersionServiceKey = QStringLiteral("VersionCheckServiceURL");

}  // namespace

VersionCheck::VersionCheck(std::function<void(Answer)> answered)
    : mAnswered(std::move(answered))
{}

VersionCheck::~VersionCheck() = default;

QUrl VersionCheck::checkURL()
{
    QUrl url(QLLocalizedString(kVersionServiceKey) + QStringLiteral("/cgi-bin/check_version_upgrades_qlwin_new.cgi"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("appln"),
                       Brand::isTarnix() ? QStringLiteral("TarnixVidezudMac") : QStringLiteral("QuellonVidezudMac"));
    query.addQueryItem(QStringLiteral("version"), QLLocalizedString(QStringLiteral("BundleVersion")));
    url.setQuery(query);
    return url;
}

QUrl VersionCheck::downloadURL()
{
    return QUrl(QLLocalizedString(kVersionServiceKey) +
                (Brand::isTarnix() ? QStringLiteral("/downloads/videzud/TarnixVidezud.dmg")
                                   : QStringLiteral("/qlwin/downloads/videzud/QuellonVidezud.dmg")));
}

VersionCheck::Answer VersionCheck::answerOf(const QByteArray &reply)
{
    if (reply.startsWith('Y'))
        return Answer::NewerVersion;
    if (reply.startsWith('N'))
        return Answer::Latest;
    return Answer::Unknown;
}

void VersionCheck::updateSoftware()
{
    URLRequest request;
    request.url = checkURL();
    request.ignoreLocalCache = true;
    mConnection.reset(new ScriptURLConnection(request));
    mConnection->setDelegate(this);
    mConnection->startLoading();
}

void VersionCheck::ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection)
{
    if (connection != mConnection.get())
        return;
    mConnection.reset();
    const Answer answer = answerOf(data);
    if (answer != Answer::Unknown)
        mAnswered(answer);
}

void VersionCheck::connectionFailedWithError(const RequestError &, ScriptURLConnection *connection)
{
    if (connection == mConnection.get())
        mConnection.reset();
}
