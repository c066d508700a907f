#include "client/browser/views/RestoreDialogs.h"

#include "common/texts/QLLocalizedString.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLayout>
#include <QUrl>

namespace {

// "Where to Restore?" with "Restore to:" and "Choose", starting in the given folder.
void setUpChooser(QFileDialog &dialog, const QString &startFolder)
{
    dialog.setWindowTitle(QStringLiteral("Where to Restore?"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Restore to:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Choose"));
    dialog.setDirectory(startFolder);
}

std::optional<QString> chosenFolder(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> DialogFolderChooser::chooseFolder(const QString &startFolder)
{
    QFileDialog dialog(mWindow);
    setUpChooser(dialog, startFolder);
    return chosenFolder(dialog);
}

std::optional<QString> DialogFolderChooser::chooseFolderWithPromptBox(const QString &startFolder,
                                                                      const std::function<void(bool)> &boxClicked)
{
    QFileDialog dialog(mWindow);
    setUpChooser(dialog, startFolder);
    dialog.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);  // hidden folders not shown
    auto *box = new QCheckBox(QLLocalizedString(QStringLiteral("Do not prompt this again.")), &dialog);
    QObject::connect(box, &QCheckBox::toggled, &dialog, [boxClicked](bool ticked) { boxClicked(ticked); });
    if (QLayout *layout = dialog.layout())
        layout->addWidget(box);
    return chosenFolder(dialog);
}

void DesktopWorkspace::openFolder(const QString &path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
void DesktopWorkspace::openURL(const QUrl &address) { QDesktopServices::openUrl(address); }
