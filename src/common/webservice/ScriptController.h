#pragma once

#include "common/webservice/QuellonEventsXMLParser.h"
#include "common/webservice/QuellonEventsXMLParserDelegate.h"
#include "common/webservice/ScriptURLConnection.h"
#include "common/webservice/ScriptURLConnectionDelegate.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <memory>
#include <optional>

class ScriptControllerDelegate;

// The waits of a request; tests pass shorter ones.
struct ScriptControllerTimings
{
    // The longest wait without any transfer.
    std::chrono::milliseconds requestTimeout{20000};
    // The longest a whole request may take, however steadily bytes arrive.
    std::chrono::milliseconds totalTimeout{60000};
};

// Sends form-encoded POST requests to the web-service scripts and reads their
// replies into a dictionary for the delegate. One request at a time: a new
// request replaces the running one, whose end is then ignored.
class ScriptController : public ScriptURLConnectionDelegate, public QuellonEventsXMLParserDelegate
{
public:
    // The reply as it may be traced: values of password and key attributes are masked.
    static QString withSecretsMasked(const QString &reply);

    // Localizable keys of the service hosts ("https://host[:port]").
    static inline const QString kTarnixAccountWebSiteKey = QStringLiteral("TarnixAccountWebSiteURL");
    static inline const QString kSyncStorageWebHostKey = QStringLiteral("SyncStorageWebHostURL");

    static inline const QString kConnectionErrorText =
        QStringLiteral("Failed to login. Ensure that you do not have an intermittent internet connection.");
    static inline const QString kUnexpectedResultText = QStringLiteral("Script retrurned unexpected result");
    static inline const QString kNoMessageText = QStringLiteral("The reply carries no message");

    explicit ScriptController(ScriptControllerTimings timings = {});
    ~ScriptController() override;

    void setDelegate(ScriptControllerDelegate *delegate) { mDelegate = delegate; }

    // Sync-account details of a first-brand account; privateKey "default" for an account with the default key.
    void GetTarnixsyncAccountUsernameAndPassword(const QString &user, const QString &password,
                                                 const QString &privateKey);
    // Storage details of a sync account.
    void GetSyncDetailsForUsername(const QString &user, const QString &password);

    // POSTs the form text (already escaped) and reads the reply in the given format.
    void setupConnectionForURL(const QUrl &url, const QString &httpBody, const QString &outputFormat);

    // Reply readers. A reply holding "<root>": the attributes of all its elements, a later
    // one replacing an earlier one of the same name; nothing when it is not well-formed XML
    // (the reason goes to error).
    static std::optional<QVariantMap> parsedDataForUser(const QByteArray &reply, QString *error);
    // A JSON reply: its object or array; nothing for anything else.
    static std::optional<QVariant> parsedJSONArray(const QByteArray &reply);

    // The address of a service path on the host named by a Localizable key.
    static QUrl serviceURL(const QString &hostKey, const QString &path);

    // Fills a form template's "%@" with the values, each escaped for a form field.
    static QString formText(const QString &pattern, const QStringList &values);

    // ScriptURLConnectionDelegate
    void ConnectionDidReceivedData(const QByteArray &data, ScriptURLConnection *connection) override;
    void connectionFailedWithError(const RequestError &error, ScriptURLConnection *connection) override;

    // QuellonEventsXMLParserDelegate
    void parsedData(const QVariantMap &data) override;
    void parseError(const QString &error, const QByteArray &data) override;

private:
    void readTokens(const QByteArray &data);
    void reportParsingFailure(const QString &reason, const QByteArray &data);

    ScriptControllerDelegate *mDelegate = nullptr;
    // Only the current connection calls back: a replaced one loses its delegate at once.
    ScriptURLConnectionPtr theConnection;
    QuellonEventsXMLParser xmlParser;
    const ScriptControllerTimings mTimings;
};
