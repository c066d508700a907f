#include "webservice/FormFields.h"

namespace {

QString decode(QByteArray text)
{
    text.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

}  // namespace

FormFields parseFormFields(const QByteArray &body)
{
    FormFields fields;
    for (const QByteArray &piece : body.split('&')) {
        if (piece.isEmpty())
            continue;
        const qsizetype equals = piece.indexOf('=');
        if (equals < 0)
            fields.append({decode(piece), QString("")});
        else
            fields.append({decode(piece.left(equals)), decode(piece.mid(equals + 1))});
    }
    return fields;
}

QString formValue(const FormFields &fields, const QString &name)
{
    for (const auto &[key, value] : fields)
        if (key == name)
            return value;
    return {};
}
