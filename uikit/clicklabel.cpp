#include "uikit/clicklabel.h"

#include <QMouseEvent>

namespace uikit {

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    emit pressed(this, event->button(), event->globalPosition().toPoint());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

void ClickLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    emit entered(this);
}

void ClickLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    emit left(this);
}

}  // namespace uikit
