#pragma once

#include <QString>
#include <QStringList>

namespace PathTemplate {

// Fills a path or text template in one pass: each "%@" takes the next argument
// and "%%" becomes "%". Arguments are inserted as they are, so a "%" inside an
// argument is never read as a placeholder; a missing argument leaves "".
QString fillTemplate(const QString &pattern, const QStringList &arguments = {});

}  // namespace PathTemplate
