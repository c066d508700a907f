#pragma once

#include <QByteArray>

class ScriptURLConnection;
struct RequestError;

// The end of a request run by ScriptURLConnection: exactly one of the two, once.
class ScriptURLConnectionDelegate
{
public:
    virtual ~ScriptURLConnectionDelegate() = default;

    // The whole body of the reply.
    virtual void ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection) = 0;
    // No reply: transport, certificate or time-out failure, or an HTTP error status.
    virtual void connectionFailedWithError(const RequestError &error, ScriptURLConnection *connection) = 0;
};
