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

// A network manager for one request owner, with the proxy policy above.
std::unique_ptr<QNetworkAccessManager> makeManager();

// Starts the request; the reply belongs to the manager.
QNetworkReply *send(QNetworkAccessManager &manager, const URLRequest &request);

}  // namespace WebServiceTransport
