// msgsend: speaks the client's and the monitor's message connection.
//
//   msgsend send --from NAME --to NAME --type N [--text TEXT | --field KEY=VALUE ...]
//   msgsend listen --as NAME [--count N] [--wait SECONDS]
//
// See README.md next to this file.

#include "common/context/ProgramContext.h"
#include "common/messaging/IPCMessage.h"
#include "common/messaging/IPCMessageDelegate.h"
#include "common/messaging/MessageSendingModule.h"
#include "common/messaging/RemoteMessageConnection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <atomic>
#include <cstdio>

namespace {

constexpr int kUsageError = 2;

int fail(const QString &text, int status = 1)
{
    std::fprintf(stderr, "msgsend: %s\n", qPrintable(text));
    return status;
}

// --text gives a text payload, --field KEY=VALUE (repeated) a dictionary; no payload is "".
QVariant payloadFrom(const QCommandLineParser &parser)
{
    const QStringList fields = parser.values(QStringLiteral("field"));
    if (fields.isEmpty())
        return parser.value(QStringLiteral("text"));
    QVariantMap dictionary;
    for (const QString &field : fields)
        dictionary.insert(field.section('=', 0, 0), field.section('=', 1));
    return dictionary;
}

int sendOne(const QCommandLineParser &parser)
{
    bool typeIsNumber = false;
    const int type = parser.value(QStringLiteral("type")).toInt(&typeIsNumber);
    const QString to = parser.value(QStringLiteral("to"));
    if (!typeIsNumber || to.isEmpty())
        return fail(QStringLiteral("send needs --to NAME and a numeric --type"), kUsageError);
    const std::optional<QVariantList> message =
        IPCMessage::build(payloadFrom(parser), type, parser.value(QStringLiteral("from")), to);
    RemoteMessageConnection connection(MessageSendingModule::kRequestTimeout, MessageSendingModule::kReplyTimeout);
    connection.setTarget(to);
    QString error;
    if (!connection.send(IPCMessage::encode(*message), &error))
        return fail(error);
    return 0;
}

// Prints each message as a JSON array on a line of its own; quits after the wanted count.
class PrintingDelegate : public IPCMessageDelegate
{
public:
    explicit PrintingDelegate(int wanted)
        : mWanted(wanted)
    {}

    void didReceiveIPCMessage(const QVariantList &message) override
    {
        const QByteArray line = QJsonDocument(QJsonArray::fromVariantList(message)).toJson(QJsonDocument::Compact);
        std::printf("%s\n", line.constData());
        std::fflush(stdout);
        if (++mReceived == mWanted)
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    }

private:
    const int mWanted;
    std::atomic<int> mReceived{0};
};

int listen(const QCommandLineParser &parser)
{
    const QString name = parser.value(QStringLiteral("as"));
    const int count = parser.value(QStringLiteral("count")).toInt();
    const int waitSeconds = parser.value(QStringLiteral("wait")).toInt();
    if (name.isEmpty() || count < 1)
        return fail(QStringLiteral("listen needs --as NAME and a --count of 1 or more"), kUsageError);
    PrintingDelegate delegate(count);
    MessageSendingModule module;
    module.setDelegate(&delegate);
    if (!module.setupConnection(name, QString()))
        return fail(QStringLiteral("cannot listen as %1").arg(name));
    std::printf("listening as %s\n", qPrintable(name));
    std::fflush(stdout);
    if (waitSeconds > 0)
        QTimer::singleShot(waitSeconds * 1000, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The messaging module reports a refused frame through the program's shared logger.
    ProgramContext program;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sends or receives one message of the client-monitor connection."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("send or listen"));
    parser.addOptions({
        {QStringLiteral("from"), QStringLiteral("Sender's own name, item 3 of the message."), QStringLiteral("name")},
        {QStringLiteral("to"), QStringLiteral("Name to send to, item 4 of the message."), QStringLiteral("name")},
        {QStringLiteral("type"), QStringLiteral("Message type, a number."), QStringLiteral("number")},
        {QStringLiteral("text"), QStringLiteral("Text payload (default \"\")."), QStringLiteral("text")},
        {QStringLiteral("field"), QStringLiteral("Dictionary payload entry; repeat for more."),
         QStringLiteral("key=value")},
        {QStringLiteral("as"), QStringLiteral("Name to listen under."), QStringLiteral("name")},
        {QStringLiteral("count"), QStringLiteral("Messages to receive before ending."), QStringLiteral("number"),
         QStringLiteral("1")},
        {QStringLiteral("wait"), QStringLiteral("Seconds to wait before giving up (0: for ever)."),
         QStringLiteral("seconds"), QStringLiteral("0")},
    });
    parser.process(app);
    const QString command = parser.positionalArguments().value(0);
    if (command == QLatin1String("send"))
        return sendOne(parser);
    if (command == QLatin1String("listen"))
        return listen(parser);
    return fail(QStringLiteral("the command is send or listen"), kUsageError);
}
