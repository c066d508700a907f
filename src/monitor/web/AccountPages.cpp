#include "monitor/web/AccountPages.h"

#include "common/login/StoredLoginDetails.h"
#include "common/login/UserFiles.h"
#include "common/texts/Brand.h"
#include "common/webservice/ScriptController.h"

#include <QFileInfo>

AccountPages::AccountPages(std::function<void(const QUrl &)> openURL)
    : mOpenURL(openURL)
    , mToken(std::move(openURL))
{}

QString AccountPages::opType(Page page)
{
    switch (page) {
    case Page::Referral:
        return QStringLiteral("referral");
    case Page::Upgrade:
        return QStringLiteral("upgrade");
    case Page::ChangePassword:
        return Brand::isTarnix() ? QStringLiteral("pwd_chng") : QStringLiteral("pwd_change");
    case Page::Home:
        break;
    }
    return QStringLiteral("home");
}

QUrl AccountPages::fallbackPage(Page page)
{
    const bool accountPage = page == Page::Referral || page == Page::Upgrade;
    return ScriptController::serviceURL(ScriptController::kTarnixAccountWebSiteKey,
                                        accountPage ? QStringLiteral("/index.html") : QStringLiteral("/"));
}

bool AccountPages::shouldShowWebFiles()
{
    const QVariantMap details = StoredLoginDetails::lastUserDetails().value_or(QVariantMap());
    if (details.value(StoredLoginDetails::kRememberDetails).toInt() != 0)
        return true;
    const QString userName = StoredLoginDetails::userNameOf(details);
    return !userName.isEmpty() && !QFileInfo::exists(UserFiles::path(QStringLiteral("DisconnectMarkerPath"), userName));
}

void AccountPages::open(Page page)
{
    if (!shouldShowWebFiles()) {
        mOpenURL(fallbackPage(page));
        return;
    }
    const QVariantMap details = StoredLoginDetails::lastUserDetails().value_or(QVariantMap());
    mToken.request(StoredLoginDetails::userNameOf(details), StoredLoginDetails::passwordOf(details), opType(page));
}
