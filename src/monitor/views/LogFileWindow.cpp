#include "monitor/views/LogFileWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>

LogFileWindow::LogFileWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    resize(640, 420);
    mLogViewer = new QPlainTextEdit(this);
    mLogViewer->setReadOnly(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mLogViewer);
}

void LogFileWindow::openLogViewerForFile(const QString &path)
{
    setWindowTitle(QFileInfo(path).fileName());
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        mLogViewer->setPlainText(QString::fromUtf8(file.readAll()));
    show();
    raise();
    activateWindow();
}

QString LogFileWindow::text() const { return mLogViewer->toPlainText(); }
