#include "uikit/shape.h"

#include <QPainter>

namespace uikit {

Shape::Shape(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_TransparentForMouseEvents); }

void Shape::setBrushColor(const QColor& c)
{
    brush_ = c;
    update();
}

void Shape::setPenColor(const QColor& c)
{
    pen_ = c;
    update();
}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(pen_);
    painter.setBrush(brush_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace uikit
