#pragma once

#include "common/webservice/WebPageToken.h"

#include <QString>

class RemoteActivity;
class RemoteTreeController;
class TreeViewNode;
class Workspace;

// The share link of stored items: a token for the items from the web service,
// then the share page opened in the browser. Accounts with a private key cannot share.
class ShareOperation
{
public:
    static inline const QString kPrivateKeyText =
        QStringLiteral("Your account has been configured with a private encryption key. File/folder sharing is allowed "
                       "only for a default key account.");
    static inline const QString kNothingToShareText = QStringLiteral("Select file(s)/folder(s) to share");

    // tree: none for a page of its own items (the search results), which shares through share.
    ShareOperation(RemoteActivity &activity, RemoteTreeController *tree, Workspace &workspace,
                   std::chrono::milliseconds tokenTimeout = WebPageToken::kRequestTimeout);

    // The button: every checked item (a folder counts when it is checked whole).
    void shareFile();
    // The menu: the clicked item.
    void shareFileFromMenu(const TreeViewNode *clicked);

    // The given items (tree paths).
    void share(const QList<WebPageToken::SharedItem> &items);

private:
    RemoteActivity &mActivity;
    RemoteTreeController *mTree;
    WebPageToken mToken;
};
