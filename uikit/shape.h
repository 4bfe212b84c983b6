// A filled rectangle with a one-pixel outline, drawn beneath or beside
// labels: the selected-day frame and the small task and note marks.
#pragma once

#include <QColor>
#include <QWidget>

namespace uikit {

class Shape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor brushColor READ brushColor WRITE setBrushColor)
    Q_PROPERTY(QColor penColor READ penColor WRITE setPenColor)

public:
    explicit Shape(QWidget* parent = nullptr);

    QColor brushColor() const { return brush_; }
    QColor penColor() const { return pen_; }
    void setBrushColor(const QColor& c);
    void setPenColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor brush_ = Qt::white;
    QColor pen_ = Qt::black;
};

}  // namespace uikit
