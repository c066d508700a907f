#include "fuzz/ReaderTargets.h"

#include "client/shell/login/LoginValidator.h"
#include "client/shell/login/QLXMLParserController.h"
#include "common/backupset/BackupSetFiles.h"
#include "common/files/TXSupportFileManager.h"
#include "common/login/StoredLoginDetails.h"
#include "common/texts/QLLocalizedString.h"
#include "common/transfer/FileTransferData.h"
#include "common/transfer/FileTransferRateData.h"
#include "common/webservice/WebPageToken.h"
#include "desktop/logs/LogParseOperation.h"
#include "engine/controllers/DataTransferRateController.h"
#include "engine/controllers/RuvoQuotaController.h"
#include "engine/parsing/DeleteHandlerData.h"
#include "engine/parsing/QLSYNCParser.h"
#include "engine/parsing/VersionData.h"
#include "fuzz/FuzzSandbox.h"
#include "index/rebuild/ReindexListing.h"
#include "platform/ChildOutputDecoder.h"
#include "platform/ChildOutputStreamDecoder.h"
#include "platform/PathStandardizer.h"
#include "session/filtering/ExclusionFilter.h"
#include "session/xattr/TXXattrBackupManager.h"

#include <QDir>

namespace ReaderTargets {
namespace {

// The output types the operations read their lines as.
constexpr int kListingLines = 0;
constexpr int kVersionLines = 3;
constexpr int kDeleteLines = 4;

// The bytes as the engine runner decodes them: whole, and as a stream cut in two.
QString decodedOutput(const QByteArray &bytes)
{
    ChildOutputStreamDecoder stream;
    const qsizetype half = bytes.size() / 2;
    const QString streamed = stream.decode(bytes.left(half)) + stream.decode(bytes.mid(half)) + stream.flush();
    const QString whole = ChildOutputDecoder::decodeChildOutput(bytes);
    return streamed.size() > whole.size() ? streamed : whole;
}

}  // namespace

void sessionLog(const QByteArray &bytes) { LogParseOperation(bytes).parsedData(); }

void accountReply(const QByteArray &bytes)
{
    FuzzSandbox::instance();  // the token's page is on the brand's web site
    LoginValidator::judgeAccountDetails(bytes, FuzzSandbox::kUserName);
    LoginValidator::judgeEmailLookup(QString::fromUtf8(bytes));
    WebPageToken::pageForReply(bytes);
    QLXMLParserController(bytes).parseXML();
}

void engineOutput(const QByteArray &bytes)
{
    const QString text = decodedOutput(bytes);
    RuvoQuotaController::quotaFromOutput(text);
    DataTransferRateController::lastRate(text);
    DeleteHandlerData deleted;
    VersionData version;
    FileTransferData listed;
    for (const QString &line : text.split(u'\n')) {
        QLSYNCParser::ParseLineStr(line, deleted, kDeleteLines);
        QLSYNCParser::ParseLineStr(line, version, kVersionLines);
        if (QLSYNCParser::ParseLineStr(line, listed, kListingLines) == QLSYNCParser::Parsed) {
            ReindexListing::fileRecord(listed);
            ReindexListing::folderKey(listed, true, QStringLiteral("/Office"));
            ReindexListing::folderKey(listed, false, QString());
        }
    }
}

void plistValues(const QByteArray &bytes)
{
    const FuzzSandbox &sandbox = FuzzSandbox::instance();
    const QString &user = FuzzSandbox::kUserName;

    const BackupSetFiles set(user, true);
    if (FuzzSandbox::put(set.pathForDataFile(), bytes))
        BackupSetFiles::readList(set.pathForDataFile());
    if (FuzzSandbox::put(set.pathForHistoryFile(), bytes))
        set.readHistory();

    TXSupportFileManager &files = TXSupportFileManager::txFileManager();
    const QString exclusions =
        PathStandardizer::standardizePath(QLLocalizedString(QStringLiteral("MonitorPreferencePath")));
    if (FuzzSandbox::put(exclusions, bytes)) {
        const ExclusionFilter filter(ExclusionFilter::read(user), sandbox.root() + "/volumes");
        filter.getBackupSetAfterFiltration({sandbox.root() + "/home/Documents/a.txt",
                                            QStringLiteral("/Library/Caches/x"),
                                            sandbox.root() + "/volumes/Data/.hidden", QStringLiteral("/")});
    }

    if (FuzzSandbox::put(files.pathForApplicationFile(ApplicationFile::LastUserLoginDetailsFilePath), bytes)) {
        if (const auto details = StoredLoginDetails::lastUserDetails()) {
            StoredLoginDetails::userNameOf(*details);
            StoredLoginDetails::passwordOf(*details);
        }
    }

    // A saved attribute list put back on a restored entry of a Time Machine database.
    const QString database = sandbox.root() + "/timemachine";
    QDir().mkpath(database + "/M/S1");
    if (FuzzSandbox::put(TXXattrBackupManager::listFilePath(database, QStringLiteral("M")), bytes))
        TXXattrBackupManager().resetXattributesForTimeMachine(database);
}

}  // namespace ReaderTargets
