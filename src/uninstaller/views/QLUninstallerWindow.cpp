#include "uninstaller/views/QLUninstallerWindow.h"

#include "common/texts/QLLocalizedString.h"
#include "common/widgets/AlertPaneWindowController.h"
#include "common/widgets/ResourceImage.h"
#include "uninstaller/views/QLUWhiteBackgroundView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// A full run adds 8 eleven times.
constexpr int kProgressMaximum = 88;

QLabel *wrappedLabel(QWidget *parent, int pointSizeDelta = 0, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + pointSizeDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

QLUninstallerWindow::QLUninstallerWindow(QWidget *parent)
    : QWidget(parent)
    , mBlueDot(ResourceImage::load(QStringLiteral("DotBlue.png")))
    , mGrayDot(ResourceImage::load(QStringLiteral("DotGray.png")))
{
    setWindowTitle(QLLocalizedString(QStringLiteral("ApplicationName")));
    setFixedSize(600, 400);
    QPalette background = palette();
    background.setBrush(QPalette::Window, QBrush(ResourceImage::load(QStringLiteral("portable_uninstaller.png"))));
    setPalette(background);
    setAutoFillBackground(true);

    mTabTitle = wrappedLabel(this, 4, true);
    mTabTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto *dotColumn = new QVBoxLayout;
    dotColumn->addStretch();
    for (QLabel *&dot : mDots) {
        dot = new QLabel(this);
        dot->setFixedSize(16, 16);
        dotColumn->addWidget(dot);
        dotColumn->addSpacing(12);
    }
    dotColumn->addStretch();

    auto *panel = new QLUWhiteBackgroundView(this);
    mTabView = new QStackedWidget(panel);
    mTabView->addWidget(makeWelcomePane());
    mTabView->addWidget(makeUninstallPane());
    mTabView->addWidget(makeDonePane());
    auto *panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(24, 20, 24, 20);
    panelLayout->addWidget(mTabView);

    auto *middle = new QHBoxLayout;
    middle->addLayout(dotColumn);
    middle->addSpacing(8);
    middle->addWidget(panel, 1);

    mPreviousButton = new QPushButton(QStringLiteral("Back"), this);
    mNextButton = new QPushButton(this);
    mNextButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mPreviousButton);
    buttons->addWidget(mNextButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addWidget(mTabTitle);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
}

QWidget *QLUninstallerWindow::makeWelcomePane()
{
    auto *pane = new QWidget;
    auto *icon = new QLabel(pane);
    icon->setPixmap(ResourceImage::brandIcon().scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    mApplicationNameField = wrappedLabel(pane, 6, true);
    mVersionField = wrappedLabel(pane);
    mVersionField->setText(QLLocalizedString(QStringLiteral("BundleVersion")));
    auto *layout = new QVBoxLayout(pane);
    layout->addStretch();
    layout->addWidget(icon);
    layout->addWidget(mApplicationNameField);
    layout->addWidget(mVersionField);
    layout->addStretch();
    return pane;
}

QWidget *QLUninstallerWindow::makeUninstallPane()
{
    auto *pane = new QWidget;
    mUninstallPaneBox1 = new QWidget(pane);
    mPaneBox1TextField = wrappedLabel(mUninstallPaneBox1, 2);
    auto *box1 = new QVBoxLayout(mUninstallPaneBox1);
    box1->addWidget(mPaneBox1TextField);

    mUninstallPaneBox2 = new QWidget(pane);
    mPaneBox2TextField = wrappedLabel(mUninstallPaneBox2, 2);
    mUninstallationProgress = new QProgressBar(mUninstallPaneBox2);
    mUninstallationProgress->setRange(0, kProgressMaximum);
    mUninstallationProgress->setTextVisible(false);
    mUninstallProgressText = wrappedLabel(mUninstallPaneBox2);
    auto *box2 = new QVBoxLayout(mUninstallPaneBox2);
    box2->addWidget(mPaneBox2TextField);
    box2->addWidget(mUninstallationProgress);
    box2->addWidget(mUninstallProgressText);
    mUninstallPaneBox2->hide();

    auto *layout = new QVBoxLayout(pane);
    layout->addStretch();
    layout->addWidget(mUninstallPaneBox1);
    layout->addWidget(mUninstallPaneBox2);
    layout->addStretch();
    return pane;
}

// The result may list many items left behind: it scrolls rather than outgrow the pane.
QWidget *QLUninstallerWindow::makeDonePane()
{
    auto *pane = new QWidget;
    mPaneBox3TextField = wrappedLabel(pane, 2);
    mResultDetailsField = wrappedLabel(pane);
    mResultDetailsField->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mResultDetailsField->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *content = new QWidget;
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->addStretch();
    contentLayout->addWidget(mPaneBox3TextField);
    contentLayout->addWidget(mResultDetailsField);
    contentLayout->addStretch();
    auto *scroller = new QScrollArea(pane);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(content);
    scroller->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    return pane;
}

void QLUninstallerWindow::setActions(std::function<void()> previous, std::function<void()> next)
{
    connect(mPreviousButton, &QPushButton::clicked, this, [previous] { previous(); });
    connect(mNextButton, &QPushButton::clicked, this, [next] { next(); });
}

void QLUninstallerWindow::showPane(const UninstallerPaneState &state)
{
    mTabView->setCurrentIndex(state.pane);
    mPreviousButton->setEnabled(state.backEnabled);
    mNextButton->setText(state.nextTitle);
    for (int row = 0; row < 3; ++row)
        mDots[row]->setPixmap(state.dots[row] == Dot::Blue ? mBlueDot : mGrayDot);
    mTabTitle->setText(state.tabTitle);
    if (state.pane == 0)
        mApplicationNameField->setText(state.applicationName);
    if (state.pane == 1) {
        mPaneBox1TextField->setText(state.box1Text);
        mUninstallPaneBox1->show();
        mUninstallPaneBox2->hide();
    }
    if (state.resetProgress)
        mUninstallationProgress->setValue(0);
    if (state.pane == 2) {
        mPaneBox3TextField->setText(state.resultText);
        QStringList items = state.leftBehind;
        for (QString &item : items)
            item.prepend(QStringLiteral("• "));
        mResultDetailsField->setText(items.join(QLatin1Char('\n')));
        mResultDetailsField->setVisible(!items.isEmpty());
    }
    repaint();
}

void QLUninstallerWindow::showRemovalStarted(const QString &caption)
{
    mPaneBox2TextField->setText(caption);
    mUninstallProgressText->clear();
    mUninstallPaneBox1->hide();
    mUninstallPaneBox2->show();
    repaint();
}

// The removal keeps the main thread busy: the window is drawn at once.
void QLUninstallerWindow::showProgress(double value, const QString &text)
{
    mUninstallationProgress->setValue(int(value));
    mUninstallProgressText->setText(text);
    repaint();
}

void QLUninstallerWindow::setButtonsEnabled(bool enabled)
{
    mPreviousButton->setEnabled(enabled);
    mNextButton->setEnabled(enabled);
}

bool QLUninstallerWindow::confirm(const QString &message, const QString &title, const QString &noTitle,
                                  const QString &yesTitle)
{
    AlertPaneWindowController alert(noTitle, yesTitle, QString());
    alert.setOwnerWindow(this);
    return alert.displayMessage(message, title, true) == AlertPaneWindowController::kAnswerAlternate;
}

void QLUninstallerWindow::quit() { QApplication::quit(); }
