#pragma once

#include "engine/parsing/TXVersion.h"

#include <QString>

class VersionRestoreProtocol;

// What a version restore is given: which version of which stored file, shown
// how, restored where.
struct VersionRestoreRequest
{
    QString serverPath;          // "/<folderID>/<encFilename>"
    TXVersion version;           // the chosen row
    QString displayPath;         // the text the session log names the file by
    QString restoreDestination;  // the local folder it is restored into
    QString destination;         // the computer folder on the drive
};

// The program's one version restore (the main controller's), as the version
// flow starts it; tests record what it was given.
class VersionRestoreRunner
{
public:
    virtual ~VersionRestoreRunner() = default;

    virtual bool isRestoring() const = 0;
    // Sets the restore up for the request and starts it; the delegate hears its progress and its one end.
    virtual void start(const VersionRestoreRequest &request, VersionRestoreProtocol &delegate) = 0;
    // The delegate goes away: it hears nothing more of a restore it started.
    virtual void forget(VersionRestoreProtocol &delegate) = 0;
};
