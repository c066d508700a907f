#pragma once

#include <QTimer>
#include <QWidget>

#include <chrono>

// The balloon that points to the tray item once after an installation: a
// borderless window under the item that closes after a while or on a click.
class TrayHelpBalloon : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize kSize{307, 99};

    explicit TrayHelpBalloon(std::chrono::milliseconds showFor, QWidget *parent = nullptr);

    // Under the anchor (the tray item's place; the screen's top right corner when the tray does not tell it).
    void showBelow(const QRect &anchor);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QTimer mCloseTimer;
};
