#include "desktop/logs/LogNode.h"

#include "desktop/logs/XmlText.h"

#include <QRegularExpression>

namespace {

QString element(const char *name, const QString &value)
{
    return QStringLiteral("\t<%1>%2</%1>\n").arg(QLatin1String(name), XmlText::escapedXmlText(value));
}

}  // namespace

int LogNode::optypeValue() const
{
    static const QRegularExpression leadingInteger(QStringLiteral("^\\s*[+-]?\\d+"));
    return leadingInteger.match(optype).captured().trimmed().toInt();
}

bool LogNode::setField(const QString &name, const QString &value)
{
    QString *const fields[] = {&datetime, &uname,   &files, &filesinsync, &status, &duration,
                               &optype,   &content, &lpath, &logfile,     &logname};
    static const char *const names[] = {"datetime", "uname",   "files", "filesinsync", "status", "duration",
                                        "optype",   "content", "lpath", "logfile",     "logname"};
    for (size_t i = 0; i < std::size(names); ++i) {
        if (name == QLatin1String(names[i])) {
            *fields[i] = value;
            return true;
        }
    }
    return false;
}

QString LogNode::flattenSelfToXML() const
{
    return QStringLiteral("<record>\n") + element("datetime", datetime) + element("uname", uname) +
           element("files", files) + element("filesinsync", filesinsync) + element("status", status) +
           element("duration", duration) + element("content", content) +
           element("optype", QString::number(optypeValue())) + element("lpath", lpath) + element("logfile", logfile) +
           element("logname", logname) + QStringLiteral("</record>\n");
}
