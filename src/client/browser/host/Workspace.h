#pragma once

#include <QString>

// The desktop's file viewer: where "View" shows what was restored.
class Workspace
{
public:
    virtual ~Workspace() = default;
    virtual void openFolder(const QString &path) = 0;
};
