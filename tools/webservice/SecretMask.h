#pragma once

#include <QByteArray>
#include <QString>

// What the request log shows in place of a secret: "sha256:" and the hex
// SHA-256 digest of its UTF-8 text. A reader can tell whether the value sent
// was the one expected; the log never holds the secret itself.
namespace SecretMask {

// The form fields that carry secrets: password, pwd, pvtkey and key, in any letter case.
bool isSecretField(const QString &name);

QString masked(const QString &secret);

// A form body as sent, with the value of every secret field masked as it
// stands in the body (still escaped), so that its escaping can be checked too.
QString maskedFormBody(const QByteArray &body);

// A credentials header ("Basic dXNlcjpwdw==") with its credentials masked and the scheme kept.
QString maskedCredentials(const QString &header);

}  // namespace SecretMask
