#pragma once

#include <QString>

#include <chrono>
#include <optional>

struct SizeCalculatorTimings
{
    // A pause after each item keeps the disk responsive while a large folder is sized.
    std::chrono::microseconds pausePerItem{0};
};

// Measures how many bytes a selected file or folder takes, for the sizes shown
// beside the backup set. The figure is the one `du -bs` gives: the apparent
// size of the item and of everything below it (folders and links count their
// own size, links are never followed, a file with several hard links counts
// once). The walk is done here, with no outside tool and no shell, so no file
// name can ever reach a command line.
class TXSizeCalculator
{
public:
    explicit TXSizeCalculator(SizeCalculatorTimings timings = {});

    // The size as decimal text, also written (with a newline, owner-only) to
    // outputFile, the last figure measured; "-1" when the path cannot be
    // measured at all, and then outputFile is removed.
    QString sizeforpathdu(const QString &path, const QString &outputFile) const;

    // The byte count; none when the path itself cannot be examined. Folders
    // that cannot be read count their own size only.
    std::optional<quint64> apparentSize(const QString &path) const;

private:
    SizeCalculatorTimings mTimings;
};
