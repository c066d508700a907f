#include "platform/ShellPattern.h"

#include <fnmatch.h>
#include <locale.h>

namespace {

// A UTF-8 character locale for this thread's matching; null when the system has none,
// and the process locale is used then.
locale_t utf8CharacterLocale()
{
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
        return made ? made : newlocale(LC_CTYPE_MASK, "en_US.UTF-8", locale_t(nullptr));
    }();
    return locale;
}

}  // namespace

bool ShellPattern::shellPatternMatches(const QString &text, const QString &pattern, bool ignoreCase)
{
    const QByteArray textBytes = text.toUtf8();
    const QByteArray patternBytes = pattern.toUtf8();
    const locale_t utf8 = utf8CharacterLocale();
    const locale_t previous = utf8 ? uselocale(utf8) : locale_t(nullptr);
    const int result = fnmatch(patternBytes.constData(), textBytes.constData(), ignoreCase ? FNM_CASEFOLD : 0);
    if (utf8)
        uselocale(previous);
    return result == 0;
}
