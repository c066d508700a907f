#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// The fields of an "application/x-www-form-urlencoded" body, in order: split
// at "&", then at the first "="; "+" and percent escapes are decoded as UTF-8.
using FormFields = QList<QPair<QString, QString>>;

FormFields parseFormFields(const QByteArray &body);

// The value of the first field of that name, null when the body has none.
QString formValue(const FormFields &fields, const QString &name);
