#pragma once

#include <QString>
#include <QUrl>

// The desktop's file viewer and web browser: where "View" shows what was
// restored, and where a share link's page opens.
class Workspace
{
public:
    virtual ~Workspace() = default;
    virtual void openFolder(const QString &path) = 0;
    virtual void openURL(const QUrl &address) = 0;
};
