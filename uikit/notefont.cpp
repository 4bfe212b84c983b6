#include "uikit/notefont.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace uikit {

namespace {
constexpr int default_colour = 16711680;
constexpr int default_points = 9;
}  // namespace

std::optional<int> note_colour_value(const std::string& setting)
{
    bool ok = false;
    const long long value = QString::fromStdString(setting).toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return static_cast<int>(value);
}

QColor colour_of_note_value(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

QColor note_font_colour(const std::string& setting)
{
    return colour_of_note_value(note_colour_value(setting).value_or(default_colour));
}

int note_font_points(int setting) { return setting >= 6 && setting <= 72 ? setting : default_points; }

void set_note_family(QPlainTextEdit* memo, const QString& family)
{
    QFont font = memo->font();
    font.setFamily(family);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    memo->setFont(font);
}

void set_note_colour(QPlainTextEdit* memo, const QColor& colour)
{
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, colour);
    memo->setPalette(palette);
}

void set_note_points(QPlainTextEdit* memo, int points)
{
    QFont font = memo->font();
    font.setPointSize(points);
    memo->setFont(font);
}

void apply_note_font(QPlainTextEdit* memo, const std::string& family, const std::string& colour, int points)
{
    const QString name = QString::fromStdString(family);
    if (QFontDatabase::families().contains(name))
        set_note_family(memo, name);
    set_note_points(memo, note_font_points(points));
    set_note_colour(memo, note_font_colour(colour));
}

}  // namespace uikit
