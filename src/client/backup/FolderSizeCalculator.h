#pragma once

#include <QString>

#include <chrono>

// Works out the size of one folder of the backup set, on the size thread.
class FolderSizeCalculator
{
public:
    virtual ~FolderSizeCalculator() = default;

    // The folder's bytes as decimal text; "-1" when it cannot be sized.
    virtual QString sizeOfFolder(const QString &diskPath) = 0;
};

// Walks the folder directly (no shell, no outside tool).
class WalkingFolderSizeCalculator : public FolderSizeCalculator
{
public:
    explicit WalkingFolderSizeCalculator(std::chrono::microseconds pausePerItem);

    QString sizeOfFolder(const QString &diskPath) override;

private:
    std::chrono::microseconds mPausePerItem;
};
