// The note font as the Settings keep it: a family name, a colour as a
// decimal number with red in its lowest byte, and a size in points.  The
// note editor and the preview of the options dialog show it alike.
#pragma once

#include <QColor>
#include <QString>
#include <optional>
#include <string>

class QPlainTextEdit;

namespace uikit {

// The number a note_fontcolor setting holds, when it is a decimal number of
// a colour (0 to 0xFFFFFF); nothing otherwise.
std::optional<int> note_colour_value(const std::string& setting);
// The colour of such a number: red in the lowest byte, then green, then blue.
QColor colour_of_note_value(int value);
// The colour of a note_fontcolor setting; the default blue (16711680) when
// it holds no colour number.
QColor note_font_colour(const std::string& setting);
// The size of a note_fontsize setting; 9 points when outside 6 to 72.
int note_font_points(int setting);

// `memo` takes `family` in regular style.
void set_note_family(QPlainTextEdit* memo, const QString& family);
void set_note_colour(QPlainTextEdit* memo, const QColor& colour);
void set_note_points(QPlainTextEdit* memo, int points);

// Gives `memo` the note font: the family when it is installed (otherwise
// the family stays), the colour and the size of the settings' texts.
void apply_note_font(QPlainTextEdit* memo, const std::string& family, const std::string& colour, int points);

}  // namespace uikit
