#pragma once

#include "client/browser/versions/VersionPaneHost.h"
#include "client/browser/versions/VersionRestoreRunner.h"
#include "client/browser/versions/VersionSource.h"
#include "engine/controllers/VersionRestoreProtocol.h"

#include <QList>
#include <QStringList>

// Index lookups and version lists that answer when a test says so.
class ManualVersionSource : public VersionSource
{
public:
    void lookUp(const QString &indexPath, std::function<void(const Lookup &)> done) override
    {
        lookups.append(indexPath);
        lookupAnswers.append(std::move(done));
    }
    void listVersions(const ListRequest &request, std::function<void(const List &)> done) override
    {
        lists.append(request);
        listAnswers.append(std::move(done));
    }

    QStringList lookups;
    QList<std::function<void(const Lookup &)>> lookupAnswers;
    QList<ListRequest> lists;
    QList<std::function<void(const List &)>> listAnswers;
};

// Records what a version restore was given, and by whom.
class RecordingVersionRunner : public VersionRestoreRunner
{
public:
    bool isRestoring() const override { return restoring; }
    // Starts as the program's does (it tells the delegate first), unless an earlier run still ends.
    void start(const VersionRestoreRequest &request, VersionRestoreProtocol &by) override
    {
        requests.append(request);
        delegate = &by;
        if (!earlierRunEnding)
            by.willStartVersionRestoreforPath(request.serverPath, request.version.versionID(),
                                              request.restoreDestination);
    }
    void forget(VersionRestoreProtocol &by) override
    {
        if (delegate == &by)
            delegate = nullptr;
    }

    bool restoring = false;
    bool earlierRunEnding = false;
    QList<VersionRestoreRequest> requests;
    VersionRestoreProtocol *delegate = nullptr;
};

// A page that embeds the pane, recording what it was asked.
class RecordingVersionPage : public VersionPaneHost
{
public:
    void showVersionView() override
    {
        shown = true;
        events.append("show");
    }
    void removeVersionView() override
    {
        shown = false;
        events.append("remove");
    }
    bool isVersionViewShown() const override { return shown; }
    QString restoreDestination() const override { return destination; }
    bool isSessionRestoreRunning() const override { return sessionRunning; }
    void versionRestoreDidStart() override { events.append("restore started"); }
    void versionRestoreDidReceiveData(const ProgressReport &) override { events.append("progress"); }
    void versionRestoreDidEnd() override { events.append("restore ended"); }

    bool shown = false;
    QString destination = "/restore/here";
    bool sessionRunning = false;
    QStringList events;
};

inline FileSystemNode versionRow(const QString &number, quint64 bytes, const QString &date)
{
    FileSystemNode row("/f1/656e63", QString::number(bytes) + " B", date, true, number);
    row.setSizeInBytes(bytes);
    row.setMpcName("/Office");
    return row;
}
