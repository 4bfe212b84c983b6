// A picture that gives its window its outline and lets the window be
// dragged by it: the notepad of the note editor.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>
#include <optional>

namespace notes {

// A picture and the part of it that stays on screen.
struct ShapedPicture {
    QPixmap picture;
    QRegion outline;
};

// Every pixel of `picture` except those of its background colour, the
// colour of its bottom-left pixel.
QRegion outline_of(const QImage& picture);

// The note editor's notepad and its outline, built on the first call and
// kept for the life of the process.
const ShapedPicture& notepad_picture();

class FormShape : public QWidget {
    Q_OBJECT

public:
    explicit FormShape(QWidget* parent = nullptr);

    // Shows the picture and cuts the window to its outline.
    void set_picture(const ShapedPicture& shaped);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
    // Where the pointer holds the window while it is dragged: the offset of
    // the pointer from the window's top left corner.
    std::optional<QPoint> drag_offset_;
};

}  // namespace notes
