#include "client/shell/views/login/LoginPageParts.h"

#include "common/texts/Brand.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace LoginPageParts {

QVBoxLayout *pageLayout(QWidget *page, const QString &heading, const std::function<void()> &onClose)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 10, 16, 12);
    layout->setSpacing(8);
    auto *top = new QHBoxLayout;
    auto *title = new QLabel(heading, page);
    title->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 14px; color: rgb(51, 77, 89);"));
    auto *close = new QToolButton(page);
    close->setText(QStringLiteral("\u2715"));
    close->setAutoRaise(true);
    close->setToolTip(QObject::tr("Close"));
    QObject::connect(close, &QToolButton::clicked, page, onClose);
    top->addWidget(title);
    top->addStretch();
    top->addWidget(close);
    layout->addLayout(top);
    return layout;
}

QLabel *fieldLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: rgb(51, 77, 89);"));
    return label;
}

QLabel *introText(const QString &tarnixText, const QString &quellonText, QWidget *parent)
{
    auto *label = new QLabel(Brand::pick(tarnixText, quellonText), parent);
    label->setWordWrap(true);
    return label;
}

QLabel *errorLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setStyleSheet(QStringLiteral("color: rgb(190, 30, 30);"));
    label->hide();
    return label;
}

QProgressBar *spinner(QWidget *parent)
{
    auto *bar = new QProgressBar(parent);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setFixedSize(60, 10);
    bar->hide();
    return bar;
}

void setSpinning(QProgressBar *spinner, bool spinning) { spinner->setVisible(spinning); }

}  // namespace LoginPageParts
