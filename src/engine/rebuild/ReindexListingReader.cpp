#include "engine/rebuild/ReindexListingReader.h"

#include "engine/parsing/QLSYNCParser.h"
#include "index/rebuild/ReindexBuilder.h"
#include "index/rebuild/ReindexListing.h"

namespace {

// Shorter lines carry no file.
constexpr qsizetype kShortestListingLine = 23;
constexpr int kListingOutputType = 0;
const QString kNoFileName = QStringLiteral("(null)");

}  // namespace

ReindexListingReader::ReindexListingReader(ReindexBuilder &builder, bool backupMode, QString ownComputerFolder)
    : mBuilder(builder)
    , mBackupMode(backupMode)
    , mOwnComputerFolder(std::move(ownComputerFolder))
{}

void ReindexListingReader::read(const QString &lines)
{
    for (const QStringView text : QStringView(lines).split(u'\n')) {
        if (text.size() < kShortestListingLine)
            continue;
        if (QLSYNCParser::ParseLineStr(text.toString(), mLine, kListingOutputType) != QLSYNCParser::Parsed) {
            ++mUnreadableLines;
            continue;
        }
        if (mLine.fname().isNull() || mLine.fname() == kNoFileName)
            continue;
        const std::optional<IndexRows::FileValues> file = ReindexListing::fileRecord(mLine);
        if (!file) {
            ++mUnreadableLines;
            continue;
        }
        mBuilder.addFile(ReindexListing::folderKey(mLine, mBackupMode, mOwnComputerFolder), *file);
    }
}
