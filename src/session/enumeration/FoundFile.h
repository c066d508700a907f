#pragma once

#include <QList>
#include <QString>

// A file the walk found, with its size in bytes.
struct FoundFile
{
    QString path;
    quint64 size = 0;
};

using FoundFiles = QList<FoundFile>;
