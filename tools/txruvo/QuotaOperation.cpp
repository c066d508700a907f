#include "txruvo/QuotaOperation.h"

#include "txruvo/StoredTree.h"

#include "platform/PathRoots.h"

#include <QDir>

namespace {

const QStringList kBrandFolders = {QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud")};

struct Stored
{
    quint64 bytes = 0;
    quint64 files = 0;

    void add(const QList<StoredTree::Item> &items)
    {
        for (const StoredTree::Item &item : items) {
            bytes += quint64(item.status.st_size);
            ++files;
        }
    }
};

// The items of one user folder, as a restore sees them: in backup mode it
// holds the computer folders, in sync mode it is the one computer folder.
void addUserFolder(const QString &userFolder, Stored &stored)
{
    for (const QString &computerFolder : StoredTree::computerFoldersIn(userFolder)) {
        const DriveLayout layout(computerFolder, computerFolder != userFolder);
        const StoredTree tree(layout);
        tree.forEachFolder([&](const QString &folder) { stored.add(tree.itemsOf(folder)); });
    }
}

}  // namespace

QStringList QuotaOperation::userFolders(const QString &user)
{
    QStringList folders;
    const QDir volumes(PathRoots::volumesRoot());
    for (const QString &volume : volumes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString &brand : kBrandFolders) {
            const QDir brandFolder(volumes.filePath(volume + u'/' + brand));
            for (const QString &name : brandFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                if (name.compare(user, Qt::CaseInsensitive) == 0)
                    folders << brandFolder.filePath(name);
            }
        }
    }
    return folders;
}

int QuotaOperation::run()
{
    if (const std::optional<int> status = mRun.begin())
        return *status;
    const std::optional<RemoteSpec> remote = RemoteSpec::parse(mRun.commandLine().positionals().value(0));
    if (!remote || remote->user.isEmpty())
        return mRun.fail(QStringLiteral("txruvo error: invalid path (no remote USER@SERVER::home/ given)"));

    Stored stored;
    for (const QString &folder : userFolders(remote->user))
        addUserFolder(folder, stored);
    const QString used = QString::number(stored.bytes);
    const QString total = QString::number(mRun.scenario().accountSize.value_or(kDefaultAccountSize));
    const QString files = QString::number(stored.files);
    const AnswerLine answer{QStringLiteral("quota"),
                            {{QStringLiteral("usedquota"), used},
                             {QStringLiteral("totalquota"), total},
                             {QStringLiteral("filecount"), files}},
                            {used, files}};
    if (const std::optional<int> status = mRun.write(answer))
        return *status;
    return mRun.finish();
}
