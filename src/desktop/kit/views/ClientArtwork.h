#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// The client's images by the names its windows use ("TXTab_Backup.png",
// "backup12px.png", ...). The images of the resources folder are loaded from
// it; the client's own small artwork is drawn here, in the brand's colours,
// so that both brands carry their own pictures without shipped files.
namespace ClientArtwork {

QPixmap image(const QString &name);

// The brand's main colour (the colour of its application icon).
QColor brandColour();

}  // namespace ClientArtwork
