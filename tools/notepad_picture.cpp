// velkin_notepad_picture OUT.png
// Draws the note editor's picture: a pale-yellow spiral-bound notepad with
// yellow rings down its left edge, a small pen at the top left and a grey
// rule near the bottom, on a background of one colour (#0080FF) that the
// editor cuts out of its window.  The output is committed as
// resources/images/notepad.png; change this file and run it again to change
// the picture.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int width = 697;
constexpr int height = 529;
const QColor background(0x00, 0x80, 0xFF);
const QColor sheet(0xFF, 0xFF, 0xB0);
const QColor sheet_edge(0xC8, 0xBE, 0x78);
const QColor under_sheet(0xEE, 0xE8, 0x9C);
const QColor shadow(0x8A, 0x84, 0x5A);
const QColor ring(0xF2, 0xC8, 0x1E);
const QColor ring_dark(0x9C, 0x7A, 0x0A);
const QColor hole(0x5A, 0x52, 0x30);
const QColor margin_line(0xEE, 0xA8, 0xA0);
const QColor header_line(0xB4, 0xCC, 0xE4);
const QColor rule(0xA0, 0xA0, 0xA0);

// The sheet, its shadow and the two sheets beneath it.  The top sheet spans
// (19, 25) to (670, 503); its shadow reaches (673, 506).
void draw_sheets(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawRoundedRect(QRectF(22, 28, 651, 478), 6, 6);
    p.setPen(QPen(sheet_edge, 1));
    p.setBrush(under_sheet);
    p.drawRoundedRect(QRectF(21.5, 27.5, 648, 475), 6, 6);
    p.drawRoundedRect(QRectF(20.5, 26.5, 648, 475), 6, 6);
    p.setBrush(sheet);
    p.drawRoundedRect(QRectF(19.5, 25.5, 650, 477), 6, 6);
}

// A margin line and a header line, like a real notepad page.
void draw_page_lines(QPainter& p)
{
    p.setPen(QPen(margin_line, 1.5));
    p.drawLine(QPointF(70, 27), QPointF(70, 500));
    p.setPen(QPen(header_line, 1.5));
    p.drawLine(QPointF(72, 72), QPointF(666, 72));
    // The grey rule beneath the buttons, near the bottom edge.
    p.setPen(QPen(rule, 2));
    p.drawLine(QPointF(74, 492), QPointF(642, 492));
}

// Rings through punched holes, looping over the left edge of the sheet.
void draw_rings(QPainter& p)
{
    for (int y = 86; y <= 486; y += 25) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        p.drawEllipse(QPointF(43, y), 4.5, 4.5);
        QPainterPath loop;
        loop.moveTo(43, y);
        loop.cubicTo(36, y - 15, 4, y - 14, 6, y - 2);
        loop.cubicTo(7, y + 6, 20, y + 6, 26, y + 3);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ring_dark, 6.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(loop);
        p.setPen(QPen(ring, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(loop);
    }
}

// A small pen lying across the top left corner, its nib pointing down.
void draw_pen(QPainter& p)
{
    p.save();
    p.translate(64, 46);
    p.rotate(-38);
    p.setPen(QPen(QColor(0x40, 0x10, 0x10), 1));
    p.setBrush(QColor(0xC0, 0x30, 0x30));
    p.drawRoundedRect(QRectF(-8, -5, 62, 10), 4, 4);  // the barrel
    p.setBrush(QColor(0xD8, 0xD8, 0xD8));
    p.drawRect(QRectF(-14, -5, 8, 10));  // the metal grip
    QPainterPath nib;
    nib.moveTo(-14, -5);
    nib.lineTo(-30, 0);
    nib.lineTo(-14, 5);
    nib.closeSubpath();
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawPath(nib);
    p.setBrush(QColor(0xE8, 0xE8, 0xE8));
    p.drawRect(QRectF(20, -7, 26, 3));  // the clip
    p.restore();
}

// Every pixel becomes either the background or an opaque colour of the
// notepad, with no blend of the two at the edges: the window's outline is
// cut where the background is, and a half-blue edge pixel would show as a
// fringe.
QImage flattened(const QImage& drawing)
{
    QImage out(drawing.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            const QColor c = drawing.pixelColor(x, y);
            QColor pixel = c.alpha() < 128 ? background : QColor(c.red(), c.green(), c.blue());
            if (c.alpha() >= 128 && pixel == background)
                pixel = QColor(0x00, 0x81, 0xFF);  // a drawn pixel must never be cut out
            out.setPixelColor(x, y, pixel);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velkin_notepad_picture OUT.png\n");
        return 2;
    }
    QImage drawing(width, height, QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    {
        QPainter p(&drawing);
        p.setRenderHint(QPainter::Antialiasing);
        draw_sheets(p);
        draw_page_lines(p);
        draw_rings(p);
        draw_pen(p);
    }
    const QImage picture = flattened(drawing);
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
