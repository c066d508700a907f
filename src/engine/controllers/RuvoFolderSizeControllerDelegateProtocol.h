#pragma once

#include <QString>
#include <QVariantMap>

class RuvoFolderSizeController;

// What a folder-size query of the index tells its delegate, once per query and
// on the query's worker thread: a delegate that changes views moves that work
// to the main thread itself.
class RuvoFolderSizeControllerDelegateProtocol
{
public:
    virtual ~RuvoFolderSizeControllerDelegateProtocol() = default;

    // "fileSize" (the total bytes as the index renders them, "2048.0") and "FileCount".
    virtual void FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *controller,
                                                            const QVariantMap &output) = 0;
    virtual void FolderSizeCalculationDidFailWithError(const QString &error, RuvoFolderSizeController *controller) = 0;
};
