#pragma once

#include <QWidget>

class QPlainTextEdit;

// One log file as text, titled with its name (the fallback when no text editor opens it).
class LogFileWindow : public QWidget
{
    Q_OBJECT
public:
    explicit LogFileWindow(QWidget *parent = nullptr);

    // A file that cannot be read leaves the previous text under the new title.
    void openLogViewerForFile(const QString &path);
    QString text() const;

private:
    QPlainTextEdit *mLogViewer;
};
