#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// One command the privileged runner may run: a tool by its absolute path, its
// fixed options, and one operand of a given kind ("/bin/rm -rvf <path>").
struct PrivilegedVerb
{
    enum class Operand
    {
        AllowedPath,  // an absolute, clean path named in the allow-list
        ProcessId,    // a positive decimal process id
    };
    QString tool;
    QStringList options;
    Operand operand = Operand::AllowedPath;
};

// What may run with administrator rights: a few verbs, and the exact absolute
// paths they may act on. Anything else is refused before any process starts.
class PrivilegedAllowList
{
public:
    PrivilegedAllowList(QList<PrivilegedVerb> verbs, QStringList paths);

    // True when tool and arguments are one verb's tool, its options and one fitting operand.
    bool permits(const QString &tool, const QStringList &arguments) const;

private:
    bool permitsOperand(PrivilegedVerb::Operand kind, const QString &operand) const;

    QList<PrivilegedVerb> mVerbs;
    QStringList mPaths;
};

// Runs a permitted command with administrator rights and waits for it. The
// argument vector goes to the tool as it is: no shell ever sees it. The tool's
// output is read and dropped.
class PrivilegedRunner
{
public:
    enum class Outcome
    {
        Refused,     // not on the allow-list, or the rights were not granted: nothing ran
        NotStarted,  // the tool (or the rights helper) could not be started
        Finished,    // the tool ran; its exit code is in the result
    };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        int exitCode = -1;
        bool succeeded() const { return outcome == Outcome::Finished && exitCode == 0; }
    };

    explicit PrivilegedRunner(PrivilegedAllowList allowList);
    virtual ~PrivilegedRunner();

    Result run(const QString &tool, const QStringList &arguments);

    // The direct runner when this process already has the rights (root), else pkexec.
    static std::unique_ptr<PrivilegedRunner> forThisProcess(PrivilegedAllowList allowList);

protected:
    // Runs a command the allow-list permitted.
    virtual Result execute(const QString &tool, const QStringList &arguments) = 0;
    // Starts a program with an argument vector, waits and reports how it ended.
    static Result runProgram(const QString &program, const QStringList &arguments);

private:
    PrivilegedAllowList mAllowList;
};

// For a process that is root already: runs the tool itself.
class DirectPrivilegedRunner : public PrivilegedRunner
{
public:
    using PrivilegedRunner::PrivilegedRunner;

protected:
    Result execute(const QString &tool, const QStringList &arguments) override;
};

// Asks polkit for the rights through pkexec, which then runs the tool.
class PkexecPrivilegedRunner : public PrivilegedRunner
{
public:
    explicit PkexecPrivilegedRunner(PrivilegedAllowList allowList,
                                    QString pkexecPath = QStringLiteral("/usr/bin/pkexec"));

protected:
    Result execute(const QString &tool, const QStringList &arguments) override;

private:
    QString mPkexecPath;
};
