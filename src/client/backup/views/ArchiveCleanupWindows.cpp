#include "client/backup/views/ArchiveCleanupWindows.h"

#include "client/backup/cleanup/ArchiveCleanupController.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString kExplanation = QStringLiteral(
    "\u2018Cleanup Now\u2019 removes from your backup drive the files whose originals no longer exist on this "
    "computer. You can review the list before anything is deleted.");
const QString kMore = QStringLiteral(
    "Only files of your backup set are considered. A file that still exists on this computer is never listed, and "
    "\u2018Cleanup Now\u2019 stops when more than 25% of the files of your backup set would be removed. The settings "
    "below are those of the automatic cleanup.");

QDialog *childWindow(QWidget *mainWindow, const QString &title)
{
    auto *window = new QDialog(mainWindow, Qt::Sheet);
    window->setWindowTitle(title);
    window->setModal(false);
    return window;
}

}  // namespace

ArchiveCleanupWindows::ArchiveCleanupWindows(ArchiveCleanupController &controller, QWidget *mainWindow)
    : QObject(mainWindow)
    , mController(controller)
    , otlSyncMsgWindow(childWindow(mainWindow, QStringLiteral("Cleanup Now")))
    , mKnowMoreButton(new QPushButton(QStringLiteral("[+]"), otlSyncMsgWindow))
    , mKnowMoreText(new QLabel(kMore, otlSyncMsgWindow))
    , otlPrepareSyncList(new QLabel(QStringLiteral("Preparing the list of items to delete..."), otlSyncMsgWindow))
    , otlSyncDeleteListWindow(childWindow(mainWindow, QStringLiteral("Cleanup Now")))
    , otlSyncListforDelete(new QPlainTextEdit(otlSyncDeleteListWindow))
    , otlSyncDeleting(new QLabel(QStringLiteral("Deleting..."), otlSyncDeleteListWindow))
    , automaticSyncButton(new QCheckBox(QStringLiteral("Clean up automatically"), otlSyncMsgWindow))
    , numberOfDayStepper(new QSpinBox(otlSyncMsgWindow))
    , percentageOfFilesStepper(new QSpinBox(otlSyncMsgWindow))
{
    auto *explanation = new QLabel(kExplanation, otlSyncMsgWindow);
    explanation->setWordWrap(true);
    mKnowMoreText->setWordWrap(true);
    mKnowMoreButton->setFlat(true);
    mKnowMoreButton->setStyleSheet(QStringLiteral("color: rgb(0, 113, 188); font-size: 12px;"));
    auto *continueButton = new QPushButton(QStringLiteral("Continue"), otlSyncMsgWindow);
    continueButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(otlPrepareSyncList);
    buttons->addStretch();
    buttons->addWidget(continueButton);
    auto *message = new QVBoxLayout(otlSyncMsgWindow);
    message->addWidget(explanation);
    message->addWidget(mKnowMoreButton, 0, Qt::AlignLeft);
    message->addWidget(mKnowMoreText);
    numberOfDayStepper->setRange(1, 365);
    numberOfDayStepper->setSuffix(QStringLiteral(" days"));
    percentageOfFilesStepper->setRange(1, 100);
    percentageOfFilesStepper->setSuffix(QStringLiteral(" %"));
    auto *automaticBox = new QGroupBox(QStringLiteral("Automatic cleanup"), otlSyncMsgWindow);
    auto *automatic = new QFormLayout(automaticBox);
    automatic->addRow(automaticSyncButton);
    automatic->addRow(QStringLiteral("Files deleted locally more than"), numberOfDayStepper);
    automatic->addRow(QStringLiteral("At most this share of the backup set"), percentageOfFilesStepper);
    message->addWidget(automaticBox);
    message->addLayout(buttons);
    message->setSizeConstraint(QLayout::SetFixedSize);
    otlSyncMsgWindow->setFixedWidth(460);

    auto *deleteButton = new QPushButton(QStringLiteral("Delete"), otlSyncDeleteListWindow);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(otlSyncDeleting);
    listButtons->addStretch();
    listButtons->addWidget(deleteButton);
    auto *list = new QVBoxLayout(otlSyncDeleteListWindow);
    list->addWidget(
        new QLabel(QStringLiteral("These items will be deleted from your backup drive:"), otlSyncDeleteListWindow));
    list->addWidget(otlSyncListforDelete, 1);
    list->addLayout(listButtons);
    otlSyncListforDelete->setLineWrapMode(QPlainTextEdit::NoWrap);
    otlSyncDeleteListWindow->resize(560, 360);

    otlPrepareSyncList->hide();
    otlSyncDeleting->hide();
    mKnowMoreText->hide();
    otlSyncMsgWindow->installEventFilter(this);
    otlSyncDeleteListWindow->installEventFilter(this);
    connect(automaticSyncButton, &QCheckBox::toggled, this, &ArchiveCleanupWindows::preferencesChanged);
    connect(numberOfDayStepper, &QSpinBox::valueChanged, this, &ArchiveCleanupWindows::preferencesChanged);
    connect(percentageOfFilesStepper, &QSpinBox::valueChanged, this, &ArchiveCleanupWindows::preferencesChanged);
    connect(mKnowMoreButton, &QPushButton::clicked, this, &ArchiveCleanupWindows::knowMore);
    connect(continueButton, &QPushButton::clicked, &controller, &ArchiveCleanupController::continueSync);
    connect(deleteButton, &QPushButton::clicked, &controller, &ArchiveCleanupController::sync);
    controller.setView(this);
}

ArchiveCleanupWindows::~ArchiveCleanupWindows() { mController.setView(nullptr); }

void ArchiveCleanupWindows::setPreferences(const ArchiveCleanupPreferences &preferences, bool isRuvoUser,
                                           std::function<void(const ArchiveCleanupPreferences &)> save)
{
    mSavePreferences = nullptr;  // setting the controls is no change of the user's
    mIsRuvoUser = isRuvoUser;
    automaticSyncButton->setChecked(preferences.automaticSync);
    numberOfDayStepper->setValue(preferences.mNumberOfDays);
    percentageOfFilesStepper->setValue(preferences.mPercentageOfFiles);
    mSavePreferences = std::move(save);
    preferencesChanged();
}

void ArchiveCleanupWindows::preferencesChanged()
{
    const bool steppersOn = mIsRuvoUser && automaticSyncButton->isChecked();
    numberOfDayStepper->setEnabled(steppersOn);
    percentageOfFilesStepper->setEnabled(steppersOn);
    if (mSavePreferences)
        mSavePreferences(
            {automaticSyncButton->isChecked(), numberOfDayStepper->value(), percentageOfFilesStepper->value()});
}

bool ArchiveCleanupWindows::eventFilter(QObject *watched, QEvent *event)
{
    // The user closed a window: a scan stops, the list is dropped.
    if (event->type() == QEvent::Close && !mClosingByController) {
        if (watched == otlSyncMsgWindow)
            mController.messageWindowClosed();
        else if (watched == otlSyncDeleteListWindow)
            mController.listWindowClosed();
    }
    return QObject::eventFilter(watched, event);
}

void ArchiveCleanupWindows::knowMore()
{
    const bool expand = mKnowMoreButton->text() == QLatin1String("[+]");
    mKnowMoreButton->setText(expand ? QStringLiteral("[-]") : QStringLiteral("[+]"));
    mKnowMoreText->setVisible(expand);
}

void ArchiveCleanupWindows::showMessageWindow()
{
    if (!otlSyncMsgWindow->isVisible()) {
        mKnowMoreButton->setText(QStringLiteral("[-]"));
        knowMore();  // always opens collapsed
    }
    otlSyncMsgWindow->show();
    otlSyncMsgWindow->raise();
    otlSyncMsgWindow->activateWindow();
}

void ArchiveCleanupWindows::closeMessageWindow()
{
    mClosingByController = true;
    otlSyncMsgWindow->close();
    mClosingByController = false;
}

void ArchiveCleanupWindows::setPreparingListShown(bool shown) { otlPrepareSyncList->setVisible(shown); }

void ArchiveCleanupWindows::showListWindow(const QString &paths)
{
    if (otlSyncListforDelete->toPlainText() != paths)
        otlSyncListforDelete->setPlainText(paths);
    otlSyncDeleteListWindow->show();
    otlSyncDeleteListWindow->raise();
    otlSyncDeleteListWindow->activateWindow();
}

QString ArchiveCleanupWindows::listText() const { return otlSyncListforDelete->toPlainText(); }

void ArchiveCleanupWindows::closeListWindow()
{
    mClosingByController = true;
    otlSyncDeleteListWindow->close();
    mClosingByController = false;
}

void ArchiveCleanupWindows::setDeletingShown(bool shown) { otlSyncDeleting->setVisible(shown); }
