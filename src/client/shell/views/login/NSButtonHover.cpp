#include "client/shell/views/login/NSButtonHover.h"

NSButtonHover::NSButtonHover(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(
        QStringLiteral("NSButtonHover { border: none; color: rgb(19, 90, 172); text-align: left; padding: 0; }"
                       "NSButtonHover:hover { text-decoration: underline; }"));
}
