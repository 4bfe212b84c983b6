// Draws the program's icon, a calendar page, as a PNG:
//   make_icon resources/images/velkin.png
// The picture is committed; run this again only to change it.  No text is
// drawn, so the result does not depend on the fonts installed.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

constexpr int size = 256;

void draw_page(QPainter& p)
{
    const QRectF page(28, 44, 200, 188);
    QPainterPath outline;
    outline.addRoundedRect(page, 18, 18);
    p.fillPath(outline, QColor(0xFF, 0xFF, 0xFF));

    // The red band of the month, cut to the page's rounded top.
    QPainterPath band;
    band.addRect(QRectF(page.left(), page.top(), page.width(), 52));
    p.fillPath(outline.intersected(band), QColor(0xD9, 0x36, 0x36));

    p.setPen(QPen(QColor(0x00, 0x40, 0x80), 6));
    p.drawPath(outline);
}

void draw_rings(QPainter& p)
{
    p.setPen(Qt::NoPen);
    for (int x : {78, 178}) {
        p.setBrush(QColor(0x00, 0x40, 0x80));
        p.drawRoundedRect(QRectF(x - 9, 26, 18, 40), 9, 9);
        p.setBrush(QColor(0xE8, 0xEE, 0xF6));
        p.drawEllipse(QPointF(x, 36), 4, 4);
    }
}

// Three weeks of days, one of them marked as the selected day.
void draw_days(QPainter& p)
{
    const QColor day(0xA6, 0xCA, 0xF0);
    const double left = 46, top = 112, step = 34, cell = 24;
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) {
            p.setBrush(row == 1 && col == 2 ? QColor(0xD9, 0x36, 0x36) : day);
            p.drawRoundedRect(QRectF(left + col * step, top + row * step, cell, cell), 4, 4);
        }
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output.png>\n");
        return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw_page(p);
    draw_days(p);
    draw_rings(p);
    p.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
