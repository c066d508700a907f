#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The remote argument "USER@SERVER::home<PATH>", split at its first "::home".
struct RemoteSpec
{
    QString user;
    QString server;
    QString path;  // duplicate slashes folded; "/" when empty

    static std::optional<RemoteSpec> parse(const QString &text);
};

// One engine argument vector: "--name" and "--name=value" options in any
// order, then positional arguments. A value is taken as it stands (it may
// hold blanks); unknown options are kept and simply never asked for.
class CommandLine
{
public:
    // The options that name a run's output file and error file.
    static inline const QString kOutputFile = QStringLiteral("--o");
    static inline const QString kErrorFile = QStringLiteral("--e");

    explicit CommandLine(const QStringList &arguments);

    bool has(const QString &name) const { return mOptions.contains(name); }
    QString value(const QString &name) const { return mOptions.value(name); }
    const QStringList &positionals() const { return mPositionals; }
    const QStringList &arguments() const { return mArguments; }

private:
    QStringList mArguments;
    QHash<QString, QString> mOptions;
    QStringList mPositionals;
};

// Folds runs of "/" into one; an empty path becomes "/".
QString foldSlashes(const QString &path);
// A folder path with folded slashes and no trailing "/" (except for "/" itself).
QString folderPath(const QString &path);
// Joins two path pieces with exactly one "/" between them.
QString joinPath(const QString &head, const QString &tail);
