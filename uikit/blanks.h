// The blanks around a typed text: spaces and control characters, the
// characters with codes 0 to 32.
#pragma once

#include <QString>
#include <algorithm>

namespace uikit {

inline bool is_blank_char(QChar c) { return c.unicode() <= 0x20; }

// True when nothing but spaces and control characters is left.
inline bool is_blank(const QString& text) { return std::all_of(text.begin(), text.end(), is_blank_char); }

// Without leading and trailing spaces and control characters.
inline QString trim_blanks(const QString& text)
{
    qsizetype first = 0, end = text.size();
    while (first < end && is_blank_char(text[first]))
        ++first;
    while (end > first && is_blank_char(text[end - 1]))
        --end;
    return text.mid(first, end - first);
}

}  // namespace uikit
