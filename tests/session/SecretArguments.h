#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <tuple>

// A vector as the tests compare it: each credential element replaced by
// "<key>" or "<password>" once its private file has been checked to hold
// that secret and to be readable by the user alone.
inline QStringList withSecretsNamed(const QStringList &arguments, const QString &key, const QString &password)
{
    QStringList shown;
    for (const QString &argument : arguments) {
        bool secret = false;
        for (const auto &[option, value, name] : {std::tuple{QString("--pvt-key="), key, "<key>"},
                                                  std::tuple{QString("--password-file="), password, "<password>"}}) {
            if (!argument.startsWith(option))
                continue;
            secret = true;
            QFile file(argument.mid(option.size()));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << argument.toStdString();
            EXPECT_EQ(QString::fromUtf8(file.readAll()).trimmed(), value);
            EXPECT_EQ(int(file.permissions()) & 0x0077, 0) << "only the user reads a secret";
            shown << name;
        }
        if (!secret)
            shown << argument;
    }
    return shown;
}
