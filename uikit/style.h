// The fonts and colours the windows are designed with.  Colours are RGB;
// fonts name the Windows families, which install_font_substitutes maps to
// installed ones.
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace uikit {

namespace colour {
inline const QColor red{0xFF, 0x00, 0x00};
inline const QColor black{0x00, 0x00, 0x00};
inline const QColor green{0x00, 0x80, 0x00};
inline const QColor fuchsia{0xFF, 0x00, 0xFF};
inline const QColor term_blue{0x53, 0x53, 0xFF};
inline const QColor lunar_green{0x00, 0x40, 0x00};
inline const QColor window_text{0x00, 0x40, 0x80};  // the program's text colour, 8404992
inline const QColor silver{0xC0, 0xC0, 0xC0};
inline const QColor grey{0x80, 0x80, 0x80};
inline const QColor lime{0x00, 0xFF, 0x00};
inline const QColor sky_blue{0xA6, 0xCA, 0xF0};
inline const QColor blue{0x00, 0x00, 0xFF};
inline const QColor page_yellow{0xFF, 0xFF, 0xCA};  // the day pages' background
}  // namespace colour

// A font of `pixels` pixels, as the window layouts give their sizes.
QFont pixel_font(const char* family, int pixels, QFont::Weight weight = QFont::Normal);
// A font of `points` points.
QFont point_font(const char* family, int points);
// The program's default font: "微软雅黑", 12 pixels (9 points).
QFont program_font();

void set_text_colour(QWidget* widget, const QColor& colour);
QColor text_colour(const QWidget* widget);
void set_base_colour(QWidget* widget, const QColor& colour);

}  // namespace uikit
