#include "notes/formshape.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace notes {

QRegion outline_of(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QRgb background = picture.pixel(0, picture.height() - 1);
    return QRegion(QBitmap::fromImage(picture.createMaskFromColor(background, Qt::MaskInColor)));
}

const ShapedPicture& notepad_picture()
{
    // Reading the picture and tracing its outline are the larger part of
    // opening the editor; both are done once.
    static const ShapedPicture notepad = [] {
        const QImage image(QStringLiteral(":/images/notepad.png"));
        return ShapedPicture{QPixmap::fromImage(image), outline_of(image)};
    }();
    return notepad;
}

FormShape::FormShape(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void FormShape::set_picture(const ShapedPicture& shaped)
{
    picture_ = shaped.picture;
    window()->setMask(shaped.outline);
    update();
}

void FormShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void FormShape::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    drag_offset_ = event->globalPosition().toPoint() - window()->pos();
    event->accept();
}

void FormShape::mouseMoveEvent(QMouseEvent* event)
{
    if (!drag_offset_ || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    window()->move(event->globalPosition().toPoint() - *drag_offset_);
    event->accept();
}

void FormShape::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        drag_offset_.reset();
    QWidget::mouseReleaseEvent(event);
}

}  // namespace notes
