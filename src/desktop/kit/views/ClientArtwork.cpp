#include "desktop/kit/views/ClientArtwork.h"

#include "common/texts/Brand.h"
#include "common/texts/QLLocalizedString.h"
#include "common/widgets/ResourceImage.h"

#include <QFile>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace ClientArtwork {

namespace {

constexpr qreal kPixelRatio = 2.0;  // drawn at twice the size so they stay sharp on dense screens

using Drawing = std::function<void(QPainter &, const QSizeF &)>;

QPixmap drawn(const QSize &size, const Drawing &draw)
{
    QPixmap pixmap(size * kPixelRatio);
    pixmap.setDevicePixelRatio(kPixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QSizeF(size));
    return pixmap;
}

QColor brandLight() { return Brand::pick(QStringLiteral("#5fa8c8"), QStringLiteral("#e8965a")); }

// A rounded tile in the brand's gradient with a white glyph drawn on it.
Drawing tile(const std::function<void(QPainter &, const QRectF &)> &glyph)
{
    return [glyph](QPainter &p, const QSizeF &size) {
        const QRectF box(QPointF(1, 1), size - QSizeF(2, 2));
        QLinearGradient gradient(box.topLeft(), box.bottomLeft());
        gradient.setColorAt(0, brandLight());
        gradient.setColorAt(1, brandColour());
        p.setPen(Qt::NoPen);
        p.setBrush(gradient);
        p.drawRoundedRect(box, box.width() * 0.22, box.height() * 0.22);
        p.setPen(QPen(Qt::white, std::max(1.2, box.width() / 14), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        glyph(p, box.adjusted(box.width() * 0.22, box.height() * 0.22, -box.width() * 0.22, -box.height() * 0.22));
    };
}

void arrowGlyph(QPainter &p, const QRectF &r, bool up)
{
    const qreal x = r.center().x();
    const qreal tipY = up ? r.top() : r.bottom() - r.height() * 0.25;
    const qreal tailY = up ? r.bottom() - r.height() * 0.25 : r.top();
    p.drawLine(QPointF(x, tipY), QPointF(x, tailY));
    const qreal wing = r.width() * 0.3;
    const qreal back = up ? wing : -wing;
    p.drawLine(QPointF(x, tipY), QPointF(x - wing, tipY + back));
    p.drawLine(QPointF(x, tipY), QPointF(x + wing, tipY + back));
    p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right(), r.bottom()));
}

void documentGlyph(QPainter &p, const QRectF &r)
{
    const QRectF page = r.adjusted(r.width() * 0.12, 0, -r.width() * 0.12, 0);
    p.drawRoundedRect(page, 1.5, 1.5);
    for (int line = 1; line <= 3; ++line) {
        const qreal y = page.top() + page.height() * line / 4.0;
        p.drawLine(QPointF(page.left() + page.width() * 0.2, y), QPointF(page.right() - page.width() * 0.2, y));
    }
}

void clockGlyph(QPainter &p, const QRectF &r)
{
    p.drawEllipse(r);
    p.drawLine(r.center(), QPointF(r.center().x(), r.top() + r.height() * 0.2));
    p.drawLine(r.center(), QPointF(r.right() - r.width() * 0.25, r.center().y()));
}

void magnifierGlyph(QPainter &p, const QRectF &r)
{
    const QRectF lens(r.topLeft(), r.size() * 0.65);
    p.drawEllipse(lens);
    p.drawLine(lens.bottomRight() - QPointF(lens.width() * 0.15, lens.height() * 0.15), r.bottomRight());
}

void trashGlyph(QPainter &p, const QRectF &r)
{
    p.drawLine(QPointF(r.left(), r.top() + r.height() * 0.15), QPointF(r.right(), r.top() + r.height() * 0.15));
    p.drawRect(QRectF(r.left() + r.width() * 0.15, r.top() + r.height() * 0.3, r.width() * 0.7, r.height() * 0.7));
}

void pencilGlyph(QPainter &p, const QRectF &r)
{
    p.drawLine(r.bottomLeft(), r.topRight());
    p.drawLine(r.bottomLeft(), QPointF(r.left() + r.width() * 0.35, r.bottom()));
}

void cycleGlyph(QPainter &p, const QRectF &r)
{
    p.drawArc(r, 30 * 16, 280 * 16);
    p.drawLine(QPointF(r.right(), r.top() + r.height() * 0.1), QPointF(r.right(), r.top() + r.height() * 0.4));
}

void broomGlyph(QPainter &p, const QRectF &r)
{
    p.drawLine(QPointF(r.right(), r.top()), r.center());
    p.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.center().x(), r.center().y()));
    p.drawLine(QPointF(r.left() + r.width() * 0.3, r.bottom()), r.center());
    p.drawLine(QPointF(r.center().x(), r.bottom()), r.center());
}

void dotGlyph(QPainter &p, const QRectF &r)
{
    p.setBrush(Qt::white);
    p.drawEllipse(r.center(), r.width() * 0.25, r.height() * 0.25);
}

// The mode switch: a rounded track with a knob, the knob on the left for
// backup and on the right for sync, with the mode's word on the track.
void switchTrack(QPainter &p, const QSizeF &size, bool backup)
{
    const QRectF track(QPointF(1, 1), size - QSizeF(2, 2));
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(backup ? brandColour() : QColor(0x4d, 0x9a, 0x4a));
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(int(size.height() * 0.42));
    font.setBold(true);
    p.setFont(font);
    const QRectF words = backup ? track.adjusted(track.height(), 0, 0, 0) : track.adjusted(0, 0, -track.height(), 0);
    p.drawText(words, Qt::AlignCenter, backup ? QStringLiteral("BACKUP") : QStringLiteral("SYNC"));
}

void switchKnob(QPainter &p, const QSizeF &size, bool backup)
{
    const qreal d = size.height() - 4;
    const QRectF knob(backup ? 2 : size.width() - d - 2, 2, d, d);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.setBrush(QColor(0xfa, 0xfa, 0xfa));
    p.drawEllipse(knob);
}

// A speech-bubble cue beside the switch, naming what a click switches to.
void cue(QPainter &p, const QSizeF &size, const QString &text)
{
    QPainterPath bubble;
    const QRectF body(8, 1, size.width() - 9, size.height() - 2);
    bubble.addRoundedRect(body, 5, 5);
    QPolygonF pointer;
    pointer << QPointF(0, size.height() / 2) << QPointF(9, size.height() / 2 - 5) << QPointF(9, size.height() / 2 + 5);
    bubble.addPolygon(pointer);
    bubble.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf4, 0xc2));
    p.drawPath(bubble.simplified());
    p.setPen(QColor(0x4a, 0x3b, 0x10));
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(body, Qt::AlignCenter, text);
}

// The logo of the title strip: the brand's icon and the application's name.
void portableLogo(QPainter &p, const QSizeF &size)
{
    const QPixmap icon = ResourceImage::brandIcon();
    const qreal side = size.height();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRectF(0, 0, side, side), icon, icon.rect());
    QFont font = p.font();
    font.setPixelSize(int(side * 0.5));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(side + 6, 0, size.width() - side - 6, side), Qt::AlignVCenter | Qt::AlignLeft,
               QLLocalizedString(QStringLiteral("ApplicationName")));
}

// A screen with a stand: the local computer.
void computer(QPainter &p, const QSizeF &size)
{
    const QRectF screen(0.5, 0.5, size.width() - 1, size.height() * 0.7);
    p.setPen(QPen(QColor(0x55, 0x5f, 0x66), 1));
    p.setBrush(QColor(0xcf, 0xe3, 0xee));
    p.drawRoundedRect(screen, 1.5, 1.5);
    p.drawLine(QPointF(size.width() / 2, screen.bottom()), QPointF(size.width() / 2, size.height() - 1));
    p.drawLine(QPointF(size.width() * 0.25, size.height() - 0.5), QPointF(size.width() * 0.75, size.height() - 0.5));
}

// The login window's background: a light pattern of fine diagonal lines.
void loginBackground(QPainter &p, const QSizeF &size)
{
    p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xf6, 0xf8, 0xfa));
    p.setPen(QPen(QColor(0xe6, 0xec, 0xf0), 1));
    for (qreal x = -size.height(); x < size.width(); x += 6)
        p.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));
}

void alertIcon(QPainter &p, const QSizeF &size)
{
    QPolygonF triangle;
    triangle << QPointF(size.width() / 2, 1) << QPointF(size.width() - 1, size.height() - 1)
             << QPointF(1, size.height() - 1);
    p.setPen(QPen(QColor(0x9a, 0x6a, 0x00), 1));
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    p.drawPolygon(triangle);
    p.setPen(QPen(QColor(0x3a, 0x2a, 0x00), size.width() / 10, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(size.width() / 2, size.height() * 0.38), QPointF(size.width() / 2, size.height() * 0.66));
    p.drawPoint(QPointF(size.width() / 2, size.height() * 0.8));
}

struct Artwork
{
    QSize size;
    Drawing draw;
};

const QHash<QString, Artwork> &artworks()
{
    static const QHash<QString, Artwork> table = [] {
        const QSize tab(28, 28);
        const QSize small(16, 16);
        const QSize switchSize(72, 22);
        return QHash<QString, Artwork>{
            {QStringLiteral("TXTab_Backup.png"),
             {tab, tile([](QPainter &p, const QRectF &r) { arrowGlyph(p, r, true); })}},
            {QStringLiteral("TXTab_Restore.png"),
             {tab, tile([](QPainter &p, const QRectF &r) { arrowGlyph(p, r, false); })}},
            {QStringLiteral("TXTab_Log.png"), {tab, tile(documentGlyph)}},
            {QStringLiteral("backup12px.png"),
             {small, tile([](QPainter &p, const QRectF &r) { arrowGlyph(p, r, true); })}},
            {QStringLiteral("schedule12px.png"), {small, tile(clockGlyph)}},
            {QStringLiteral("restore12px.png"),
             {small, tile([](QPainter &p, const QRectF &r) { arrowGlyph(p, r, false); })}},
            {QStringLiteral("search12px.png"), {small, tile(magnifierGlyph)}},
            {QStringLiteral("trash12px.png"), {small, tile(trashGlyph)}},
            {QStringLiteral("rename12px.png"), {small, tile(pencilGlyph)}},
            {QStringLiteral("cdp12px.png"), {small, tile(cycleGlyph)}},
            {QStringLiteral("archcleanup12px.png"), {small, tile(broomGlyph)}},
            {QStringLiteral("putback12px.png"),
             {small, tile([](QPainter &p, const QRectF &r) { arrowGlyph(p, r, false); })}},
            {QStringLiteral("archive12px.png"), {small, tile(cycleGlyph)}},
            {QStringLiteral("default12px.png"), {small, tile(dotGlyph)}},
            {QStringLiteral("txexp_switchbg_backup.png"),
             {switchSize, [](QPainter &p, const QSizeF &s) { switchTrack(p, s, true); }}},
            {QStringLiteral("txexp_switchbg_sync.png"),
             {switchSize, [](QPainter &p, const QSizeF &s) { switchTrack(p, s, false); }}},
            {QStringLiteral("txexp_switchico_backupsel.png"),
             {switchSize, [](QPainter &p, const QSizeF &s) { switchKnob(p, s, true); }}},
            {QStringLiteral("txexp_switchico_syncsel.png"),
             {switchSize, [](QPainter &p, const QSizeF &s) { switchKnob(p, s, false); }}},
            {QStringLiteral("txe_visualcue_togglesync.png"),
             {QSize(104, 22), [](QPainter &p, const QSizeF &s) { cue(p, s, QStringLiteral("Switch to sync")); }}},
            {QStringLiteral("txe_visualcue_togglebackup.png"),
             {QSize(104, 22), [](QPainter &p, const QSizeF &s) { cue(p, s, QStringLiteral("Switch to backup")); }}},
            {QStringLiteral("portable_logo.png"), {QSize(200, 30), portableLogo}},
            {QStringLiteral("TXMiniLogo.png"),
             {QSize(30, 30),
              [](QPainter &p, const QSizeF &s) {
                  const QPixmap icon = ResourceImage::brandIcon();
                  p.setRenderHint(QPainter::SmoothPixmapTransform);
                  p.drawPixmap(QRectF(QPointF(0, 0), s), icon, icon.rect());
              }}},
            {QStringLiteral("ql_p_online_logo.png"), {QSize(24, 24), tile(cycleGlyph)}},
            {QStringLiteral("computer.png"), {QSize(10, 10), computer}},
            {QStringLiteral("LoginWinBg.png"), {QSize(48, 48), loginBackground}},
            {QStringLiteral("alert_icon_small.png"), {QSize(32, 32), alertIcon}},
        };
    }();
    return table;
}

}  // namespace

QColor brandColour() { return Brand::pick(QStringLiteral("#1f5f7a"), QStringLiteral("#9b3f6b")); }

QPixmap image(const QString &name)
{
    const auto drawing = artworks().constFind(name);
    if (drawing != artworks().constEnd())
        return drawn(drawing->size, drawing->draw);
    return ResourceImage::load(name);
}

}  // namespace ClientArtwork
