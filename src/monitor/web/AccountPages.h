#pragma once

#include "common/webservice/WebPageToken.h"

#include <QString>
#include <QUrl>

#include <functional>

// The account's web pages opened from the monitor, already logged in: a
// one-time token is asked for with the last user's credentials and the page
// opens with it in the browser. A user who left the account (the disconnect
// marker) and chose not to be remembered gets the public page instead.
class AccountPages
{
public:
    enum class Page
    {
        Referral,
        Upgrade,
        ChangePassword,
        Home
    };

    explicit AccountPages(std::function<void(const QUrl &)> openURL);

    void open(Page page);

    // "referral", "upgrade", "pwd_chng" ("pwd_change" in the second brand), "home".
    static QString opType(Page page);
    // The page opened without a token.
    static QUrl fallbackPage(Page page);
    // Pages by token need a remembered user or one who did not disconnect.
    static bool shouldShowWebFiles();

private:
    std::function<void(const QUrl &)> mOpenURL;
    WebPageToken mToken;
};
