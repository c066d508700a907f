#include "IncludeRules.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct Include
{
    QString file;    // under src/ (or tools/)
    QString target;  // as written between the quotes or angle brackets
    bool quoted;
};

QString sourceRoot() { return QString(TX_SOURCE_TREE); }

QString toolsRoot() { return QString(TX_TOOLS_TREE); }

QList<Include> includesUnder(const QString &rootPath)
{
    static const QRegularExpression line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])",
                                         QRegularExpression::MultilineOption);
    QList<Include> found;
    const QDir root(rootPath);
    QDirIterator it(root.path(), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto match = line.globalMatch(text); match.hasNext();) {
            const auto m = match.next();
            found.append({root.relativeFilePath(path), m.captured(2), m.captured(1) == "\""});
        }
    }
    return found;
}

QList<Include> includesUnderSrc() { return includesUnder(sourceRoot()); }

QSet<QString> widgetsHeaders()
{
    QSet<QString> names;
    for (const QString &name : QDir(TX_QTWIDGETS_DIR).entryList(QDir::Files))
        if (!name.contains('.'))
            names.insert(name);
    return names;
}

TEST(IncludeRules, CheckerCatchesPlantedViolations)
{
    struct Case
    {
        const char *file;
        const char *included;
        bool violation;
    };
    const Case cases[] = {
        {"platform/PathRoots.cpp", "common/texts/QLLocalizedString.h", true},
        {"index/sqlite/FMDatabase.cpp", "index/TXDatabaseWrapper.h", true},
        {"common/proxy/ProxyController.cpp", "engine/command/EngineArgumentsBuilder.h", true},
        {"client/main.cpp", "monitor/Something.h", true},
        {"desktop/logs/LogManager.cpp", "client/shell/main/TXMainController.h", true},
        {"desktop/kit/views/TXTabView.cpp", "monitor/Menu.h", true},
        {"monitor/main.cpp", "desktop/logs/views/LogViewController.h", false},
        {"client/shell/main/TXMainController.cpp", "desktop/logs/LogManager.h", false},
        {"desktop/logs/LogManager.cpp", "session/manager/RuvoBackupManager.h", false},
        {"engine/command/EngineArgumentsBuilder.cpp", "index/sqlite/FMDatabase.h", false},
        {"index/TXDatabaseWrapper.cpp", "index/sqlite/FMDatabase.h", false},
        {"session/Driver.cpp", "platform/PathRoots.h", false},
        {"common/texts/Brand.cpp", "common/utility/QLUtility.h", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(!IncludeRules::upwardInclude(c.file, c.included).isEmpty(), c.violation)
            << c.file << " -> " << c.included;

    const Case clientCases[] = {
        {"client/browser/RestoreController.cpp", "client/backup/now/BackupViewController.h", true},
        {"client/backup/views/BackupPage.cpp", "client/browser/views/BrowserPage.h", true},
        {"client/backup/now/BackupViewController.cpp", "client/common/progress/ProgressView.h", false},
        {"client/backup/views/BackupPage.cpp", "client/shell/main/TXMainController.h", false},
        {"client/backup/views/BackupPage.cpp", "client/common/destination/BackupDestination.h", false},
        {"client/shell/views/frame/ClientShell.cpp", "client/backup/views/BackupPage.h", false},
        {"client/main.cpp", "client/backup/views/BackupPage.h", false},
        {"client/backup/now/BackupViewController.cpp", "desktop/logs/LogManager.h", false},
    };
    for (const Case &c : clientCases)
        EXPECT_EQ(!IncludeRules::clientFeatureReach(c.file, c.included).isEmpty(), c.violation)
            << c.file << " -> " << c.included;

    const Case internalCases[] = {
        {"engine/command/Runner.cpp", "index/sqlite/internal/Statement.h", true},
        {"index/Merge.cpp", "index/sqlite/internal/Statement.h", true},
        {"client/shell/Login.cpp", "common/proxy/internal/Reader.h", true},
        {"index/sqlite/FMDatabase.cpp", "index/sqlite/internal/Statement.h", false},
        {"common/proxy/ProxyController.cpp", "common/proxy/internal/Reader.h", false},
        {"common/texts/Brand.cpp", "common/proxy/internal/Reader.h", false},
    };
    for (const Case &c : internalCases)
        EXPECT_EQ(!IncludeRules::internalFromOutside(c.file, c.included).isEmpty(), c.violation)
            << c.file << " -> " << c.included;

    const QSet<QString> widgets{"QWidget", "QPushButton"};
    EXPECT_FALSE(IncludeRules::widgetsOutsideViews("client/shell/Login.cpp", "QWidget", widgets).isEmpty());
    EXPECT_FALSE(IncludeRules::widgetsOutsideViews("engine/Run.cpp", "QtWidgets/QPushButton", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsOutsideViews("client/shell/views/Login.cpp", "QWidget", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsOutsideViews("common/widgets/Alert.cpp", "QPushButton", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsOutsideViews("desktop/kit/views/TXTabView.cpp", "QWidget", widgets).isEmpty());
    EXPECT_FALSE(IncludeRules::widgetsOutsideViews("desktop/logs/LogManager.cpp", "QWidget", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsOutsideViews("monitor/main.cpp", "QWidget", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsOutsideViews("client/shell/Login.cpp", "QString", widgets).isEmpty());
}

TEST(IncludeRules, ToolCheckerCatchesPlantedViolations)
{
    struct Case
    {
        const char *file;
        const char *included;
        bool beside;
        bool violation;
    };
    const Case cases[] = {
        {"txruvo/main.cpp", "client/shell/main/TXMainController.h", false, true},
        {"daemon/Runner.cpp", "desktop/logs/LogManager.h", false, true},
        {"webservice/Server.cpp", "txruvo/DriveLayout.h", false, true},
        {"txruvo/main.cpp", "Missing.h", false, true},
        {"txruvo/main.cpp", "txruvo/DriveLayout.h", false, false},
        {"daemon/Runner.cpp", "session/manager/RuvoBackupManager.h", false, false},
        {"msgsend/main.cpp", "common/messaging/IPCMessage.h", false, false},
        {"screenshots/main.cpp", "client/shell/views/frame/ClientShell.h", false, false},
        {"screenshots/main.cpp", "BackupPageShots.h", true, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(!IncludeRules::toolInclude(c.file, c.included, c.beside).isEmpty(), c.violation)
            << c.file << " -> " << c.included;

    const QSet<QString> widgets{"QWidget"};
    EXPECT_FALSE(IncludeRules::widgetsInTool("daemon/main.cpp", "QWidget", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsInTool("screenshots/main.cpp", "QWidget", widgets).isEmpty());
    EXPECT_TRUE(IncludeRules::widgetsInTool("daemon/main.cpp", "QString", widgets).isEmpty());
}

TEST(IncludeRules, EveryIncludeOfTheToolsNamesItsRootAndStaysBelowTheDesktop)
{
    const QList<Include> includes = includesUnder(toolsRoot());
    ASSERT_GT(includes.size(), 50) << "no sources found under " << toolsRoot().toStdString();
    const QSet<QString> widgets = widgetsHeaders();
    const QDir root(toolsRoot());
    for (const Include &include : includes) {
        if (include.target.startsWith("moc_") || include.target.endsWith(".moc"))
            continue;
        const QString why =
            include.quoted
                ? IncludeRules::toolInclude(
                      include.file, include.target,
                      QFileInfo::exists(root.filePath(QFileInfo(include.file).path() + '/' + include.target)))
                : IncludeRules::widgetsInTool(include.file, include.target, widgets);
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
}

TEST(IncludeRules, EveryIncludeOfTheTreePointsDownAndNamesItsLayer)
{
    const QList<Include> includes = includesUnderSrc();
    ASSERT_GT(includes.size(), 100) << "no sources found under " << sourceRoot().toStdString();
    for (const Include &include : includes) {
        if (!include.quoted || include.target.startsWith("moc_") || include.target.endsWith(".moc"))
            continue;
        EXPECT_FALSE(IncludeRules::layerOf(include.target).isEmpty())
            << include.file.toStdString() << " includes \"" << include.target.toStdString()
            << "\" without naming its layer";
        const QString why = IncludeRules::upwardInclude(include.file, include.target);
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
        const QString internal = IncludeRules::internalFromOutside(include.file, include.target);
        EXPECT_TRUE(internal.isEmpty()) << internal.toStdString();
        const QString feature = IncludeRules::clientFeatureReach(include.file, include.target);
        EXPECT_TRUE(feature.isEmpty()) << feature.toStdString();
    }
}

TEST(IncludeRules, QtWidgetsOnlyInWidgetsAndViewsFolders)
{
    const QList<Include> includes = includesUnderSrc();
    ASSERT_GT(includes.size(), 100) << "no sources found under " << sourceRoot().toStdString();
    const QSet<QString> widgets = widgetsHeaders();
    ASSERT_TRUE(widgets.contains("QWidget")) << "Qt Widgets headers not found in " << TX_QTWIDGETS_DIR;
    for (const Include &include : includes) {
        if (include.quoted)
            continue;
        const QString why = IncludeRules::widgetsOutsideViews(include.file, include.target, widgets);
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
}

// The README's layout table is the map a newcomer reads first: it names every folder
// of src/, in layer order.
QStringList foldersInReadmeTable()
{
    QFile readme(QDir(sourceRoot()).filePath("../README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    // Only the Layout section's table: other sections list folders of their own (the install layout).
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("\n## Layout"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    static const QRegularExpression row(R"(^\| `([a-z/]+)/` \|)", QRegularExpression::MultilineOption);
    QStringList folders;
    for (auto match = row.globalMatch(text.mid(start, end < 0 ? -1 : end - start)); start >= 0 && match.hasNext();)
        folders.append(match.next().captured(1));
    return folders;
}

TEST(IncludeRules, ReadmeListsEveryFolderInLayerOrder)
{
    const QStringList listed = foldersInReadmeTable();
    ASSERT_FALSE(listed.isEmpty()) << "no layout table found in README.md";
    const QDir root(sourceRoot());
    QStringList present;
    QDirIterator it(root.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        present.append(root.relativeFilePath(it.next()));
    for (const QString &folder : present)
        EXPECT_TRUE(listed.contains(folder)) << "README.md does not list " << folder.toStdString() << "/";
    for (const QString &folder : listed)
        EXPECT_TRUE(present.contains(folder))
            << "README.md lists " << folder.toStdString() << "/, which is not in src/";
    int previousRank = -1;
    for (const QString &folder : listed) {
        const int rank = IncludeRules::rankOf(folder + "/");
        EXPECT_GE(rank, previousRank) << folder.toStdString() << "/ is listed above a lower layer";
        previousRank = rank;
    }
}

}  // namespace
