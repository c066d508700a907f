#include "LoggedInClientFixture.h"

#include "client/shell/login/AccountHosts.h"
#include "desktop/logs/views/LogViewController.h"

#include <QDesktopServices>

namespace {

// Catches the pages the program asks the desktop to open.
class OpenedPages : public QObject
{
    Q_OBJECT
public:
    OpenedPages() { QDesktopServices::setUrlHandler("https", this, "open"); }
    ~OpenedPages() override { QDesktopServices::unsetUrlHandler("https"); }

    QStringList paths;

public slots:
    void open(const QUrl &url) { paths.append(url.path()); }
};

}  // namespace

// The window's links: the logo, the desktop-application button and the log viewer's help.
class LinksInTheWindowTest : public LoggedInClientFixture
{};

TEST_F(LinksInTheWindowTest, TheLogoTheApplicationButtonAndTheLogHelpOpenTheirPages)
{
    OpenedPages pages;
    openLoggedIn();
    TXTabViewController &tabs = *client->shell.windows().tabViewController();
    tabs.logoButton()->click();
    tabs.sidebar()->onlineAppButton()->click();  // no desktop application here: the maker's home page
    client->logTab.logs->helpButton()->click();
    EXPECT_EQ(pages.paths,
              (QStringList{"/tarnix-videzud.htm", AccountHosts::brandWebSite().path(), "/help/Mac/log.htm"}));
}

#include "LinksInTheWindowTest.moc"
