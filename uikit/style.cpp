#include "uikit/style.h"

#include <QWidget>

namespace uikit {

QFont pixel_font(const char* family, int pixels, QFont::Weight weight)
{
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

QFont point_font(const char* family, int points) { return QFont(QString::fromUtf8(family), points); }

QFont program_font() { return pixel_font("微软雅黑", 12); }

void set_text_colour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor text_colour(const QWidget* widget) { return widget->palette().color(QPalette::WindowText); }

void set_base_colour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

}  // namespace uikit
