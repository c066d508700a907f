#pragma once

#include "engine/controllers/RuvoFolderSizeControllerDelegateProtocol.h"

#include <QObject>
#include <QString>

#include <memory>

class RemoteActivity;
class TreeViewNode;

// The size of a stored folder from the index, shown in a message. The index
// answers on a worker thread; everything shown happens on the main thread.
// A new request replaces one still running.
class FolderSizeOperation : private RuvoFolderSizeControllerDelegateProtocol
{
public:
    static inline const QString kOperationName = QStringLiteral("Calculating Folder Size... ");

    explicit FolderSizeOperation(RemoteActivity &activity);
    ~FolderSizeOperation() override;

    // Storage-server accounts only; other accounts start nothing.
    void getFolderSize(const TreeViewNode *clicked);
    bool isRunning() const { return mController != nullptr; }

private:
    void FolderSizeCalculationDidFinishSuccessfully(RuvoFolderSizeController *controller,
                                                    const QVariantMap &output) override;
    void FolderSizeCalculationDidFailWithError(const QString &error, RuvoFolderSizeController *controller) override;
    void ended(RuvoFolderSizeController *controller, const std::function<void()> &show);

    RemoteActivity &mActivity;
    QString mFolderPath;
    QObject mMainThreadContext;
    std::unique_ptr<RuvoFolderSizeController> mController;
};
