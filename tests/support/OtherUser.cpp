#include "support/OtherUser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace OtherUser {

bool available() { return ::geteuid() == 0; }

int run(const QStringList &command)
{
    QProcess process;
    process.start(QStringLiteral("setpriv"),
                  QStringList{QStringLiteral("--reuid=%1").arg(kUid), QStringLiteral("--regid=%1").arg(kUid),
                              QStringLiteral("--clear-groups")} +
                      command);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

void openPathTo(const QString &path)
{
    for (QString folder = QFileInfo(path).absoluteFilePath(); folder != QLatin1String("/");
         folder = QFileInfo(folder).path()) {
        struct stat info
        {};
        const QByteArray native = QFile::encodeName(folder);
        if (::stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode))
            ::chmod(native.constData(), (info.st_mode & 07777) | S_IXOTH);
    }
}

}  // namespace OtherUser
