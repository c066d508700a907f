#include "webservice/SecretMask.h"

#include "webservice/FormFields.h"

#include <QCryptographicHash>
#include <QStringList>

namespace SecretMask {

bool isSecretField(const QString &name)
{
    static const QStringList kSecretFields = {QStringLiteral("password"), QStringLiteral("pwd"),
                                              QStringLiteral("pvtkey"), QStringLiteral("key")};
    return kSecretFields.contains(name, Qt::CaseInsensitive);
}

QString masked(const QString &secret)
{
    return QStringLiteral("sha256:") +
           QString::fromLatin1(QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString maskedFormBody(const QByteArray &body)
{
    QStringList pieces;
    for (const QByteArray &piece : body.split('&')) {
        const qsizetype equals = piece.indexOf('=');
        const QByteArray name = equals < 0 ? piece : piece.left(equals);
        const bool secret = equals >= 0 && isSecretField(parseFormFields(name).value(0).first);
        pieces.append(secret ? QString::fromUtf8(name) + '=' + masked(QString::fromUtf8(piece.mid(equals + 1)))
                             : QString::fromUtf8(piece));
    }
    return pieces.join('&');
}

QString maskedCredentials(const QString &header)
{
    const qsizetype blank = header.indexOf(' ');
    return blank < 0 ? masked(header) : header.left(blank + 1) + masked(header.mid(blank + 1));
}

}  // namespace SecretMask
