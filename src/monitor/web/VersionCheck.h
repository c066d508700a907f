#pragma once

#include "common/webservice/ScriptURLConnection.h"
#include "common/webservice/ScriptURLConnectionDelegate.h"

#include <QByteArray>
#include <QUrl>

#include <functional>

// Asks the maker's version service whether a newer build of the program
// exists. The request runs in the background over HTTPS; the answer reaches
// the callback on this thread. A failed request or an unknown reply is silent.
class VersionCheck : public ScriptURLConnectionDelegate
{
public:
    enum class Answer
    {
        NewerVersion,
        Latest,
        Unknown
    };

    explicit VersionCheck(std::function<void(Answer)> answered);
    ~VersionCheck() override;

    // A new check replaces one still running.
    void updateSoftware();

    // The reply's first character: "Y" a newer version, "N" the latest.
    static Answer answerOf(const QByteArray &reply);
    // The check's address for this brand and version.
    static QUrl checkURL();
    // The page the user downloads the newer version from.
    static QUrl downloadURL();

    void ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection) override;
    void connectionFailedWithError(const RequestError &error, ScriptURLConnection *connection) override;

private:
    std::function<void(Answer)> mAnswered;
    ScriptURLConnectionPtr mConnection;
};
