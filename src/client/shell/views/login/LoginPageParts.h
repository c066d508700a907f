#pragma once

#include <QString>

#include <functional>

class QLabel;
class QProgressBar;
class QVBoxLayout;
class QWidget;

// The pieces the pages of the floating login window share: a heading with a
// close button, field labels, the error text and the spinner.
namespace LoginPageParts {

// Lays the page out as a column under a heading; the close button calls onClose.
QVBoxLayout *pageLayout(QWidget *page, const QString &heading, const std::function<void()> &onClose);
QLabel *fieldLabel(const QString &text, QWidget *parent);
// A word-wrapped explanation under the heading, in the running brand's words.
QLabel *introText(const QString &tarnixText, const QString &quellonText, QWidget *parent);
// A red, word-wrapped text with clickable links, hidden while empty.
QLabel *errorLabel(QWidget *parent);
// A small busy bar, hidden until it spins.
QProgressBar *spinner(QWidget *parent);
void setSpinning(QProgressBar *spinner, bool spinning);

}  // namespace LoginPageParts
