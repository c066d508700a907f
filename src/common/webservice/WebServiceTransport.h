#pragma once

#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
struct URLRequest;

// Where web-service requests leave the program. Every connection verifies the
// server's certificate: against the certificate authorities of the configured
// file when it holds any, else against the system's store. Proxies are the
// application's proxy when one is set, else the system's proxy settings.
namespace WebServiceTransport {

// The Localizable key of the file of trusted certificate authorities (PEM).
inline const QString kCertificateFileKey = QStringLiteral("WebServiceCertificateFile");

// The name of the reply property that says why the transport ended a reply.
inline constexpr char kAbortReasonProperty[] = "txAbortReason";

// A network manager for one request owner, with the proxy policy above.
std::unique_ptr<QNetworkAccessManager> makeManager();

// Starts the request; the reply belongs to the manager. Redirects are followed
// only within the same origin; plain HTTP is refused unless the request allows
// it; the reply is ended when it takes longer than the request's total limit or
// grows beyond its largest size.
QNetworkReply *send(QNetworkAccessManager &manager, const URLRequest &request);

// Why the transport ended the reply ("" when it did not).
QString abortReason(const QNetworkReply &reply);

// Whether the reply failed: a network error, or a limit the transport enforced.
bool failed(const QNetworkReply &reply);

}  // namespace WebServiceTransport
