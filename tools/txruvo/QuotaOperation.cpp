#include "txruvo/QuotaOperation.h"

#include "txruvo/DriveLayout.h"

#include "platform/PathRoots.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

const QStringList kBrandFolders = {QStringLiteral("TarnixVidezud"), QStringLiteral("QuellonVidezud")};
constexpr QDir::Filters kEverything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

struct Stored
{
    quint64 bytes = 0;
    quint64 files = 0;
};

// Adds the items below a folder of a user folder (depth 0 for the user
// folder itself); links on the drive are never followed.
void addItems(const QString &folder, int depth, const QString &versionFolderName, Stored &stored)
{
    for (const QFileInfo &entry : QDir(folder).entryInfoList(kEverything)) {
        if (entry.isSymLink() || DriveLayout::isBookkeepingName(entry.fileName()))
            continue;
        if (entry.isDir()) {
            // A computer folder keeps its versions in "<user folder name>.ver".
            const bool versionFolder =
                depth == 1 && entry.fileName().compare(versionFolderName, Qt::CaseInsensitive) == 0;
            if (!versionFolder)
                addItems(entry.filePath(), depth + 1, versionFolderName, stored);
        } else if (entry.isFile()) {
            stored.bytes += quint64(entry.size());
            ++stored.files;
        }
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
        addItems(folder, 0, QFileInfo(folder).fileName() + QStringLiteral(".ver"), stored);
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
