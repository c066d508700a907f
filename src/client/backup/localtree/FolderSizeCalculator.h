#pragma once

#include "session/sizes/TXSizeCalculator.h"

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

// Sizes the folder with the session layer's size calculator (a direct walk, no
// shell, no outside tool); its last figure goes to "duoutput.du" in the user's
// private runtime folder.
class WalkingFolderSizeCalculator : public FolderSizeCalculator
{
public:
    explicit WalkingFolderSizeCalculator(std::chrono::microseconds pausePerItem);

    QString sizeOfFolder(const QString &diskPath) override;

private:
    TXSizeCalculator mCalculator;
};
