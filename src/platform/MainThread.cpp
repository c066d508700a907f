#include "platform/MainThread.h"

#include <QCoreApplication>
#include <QMetaObject>

void MainThread::runOnMainThread(std::function<void()> work)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        work();
        return;
    }
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}

void MainThread::runInThreadOf(QObject *context, std::function<void()> work)
{
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}
