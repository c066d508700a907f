#pragma once

#include "common/transfer/FileTransferData.h"

#include <QString>

class ReindexBuilder;

// Reads the engine's listing of the drive, block by block as it arrives,
// into a re-index: each line of a stored file goes to the builder in its
// folder. Lines too short to be one are passed over, and so are lines of
// an item without a name; a line that cannot be read, or that lacks what the
// index keeps of a file, is counted, since the listing is then not to be trusted.
class ReindexListingReader
{
public:
    // ownComputerFolder: the client's computer folder ("/Office"), empty when none is set.
    ReindexListingReader(ReindexBuilder &builder, bool backupMode, QString ownComputerFolder);

    // Complete lines, each ending in "\n".
    void read(const QString &lines);
    int unreadableLines() const { return mUnreadableLines; }

private:
    ReindexBuilder &mBuilder;
    bool mBackupMode;
    QString mOwnComputerFolder;
    FileTransferData mLine;
    int mUnreadableLines = 0;
};
