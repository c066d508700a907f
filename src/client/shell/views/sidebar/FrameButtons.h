#pragma once

class QPushButton;
class QString;
class QWidget;

// Buttons of the main window's frame (the sidebar and the title strip).
namespace FrameButtons {

// A flat, borderless button that shows an image of the client's artwork at its own size,
// with the pointing hand over it.
QPushButton *imageButton(const QString &image, QWidget *parent);

}  // namespace FrameButtons
