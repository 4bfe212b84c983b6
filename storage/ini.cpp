// Reading and changing a Windows profile (INI) file.
#include "storage/ini.h"

#include <cstdint>

#include "platform/platform.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s)
{
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_name(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}

// "[name]" gives name; any other line gives nothing.
std::optional<std::string_view> section_name(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(line.substr(1, close - 1));
}

bool is_comment(std::string_view line)
{
    line = trim(line);
    return !line.empty() && line.front() == ';';
}

// The key of a "key=value" line, empty for a line that holds none.
std::string_view line_key(std::string_view line)
{
    if (is_comment(line) || section_name(line))
        return {};
    std::size_t eq = line.find('=');
    return trim(eq == std::string_view::npos ? line : line.substr(0, eq));
}

std::string_view line_value(std::string_view line)
{
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::string_view v = trim(line.substr(eq + 1));
    // Windows drops one pair of matching quotes around a value.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

std::string key_line(std::string_view key, std::string_view value)
{
    std::string s(key);
    s += '=';
    s += value;
    return s;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = ascii_lower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes)
{
    // A file saved by an editor as UTF-8 may start with a byte-order mark.
    // Its text is UTF-8, not GBK: every line is read as such and written
    // back in GBK, so the file is one code page again after the next save.
    constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";
    const bool utf8 = bytes.substr(0, utf8_mark.size()) == utf8_mark;
    if (utf8)
        bytes.remove_prefix(utf8_mark.size());
    // CRLF, LF and a lone CR all end a line.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view raw = bytes.substr(start, end - start);
        lines_.push_back(Line{std::string(raw), utf8 ? std::string(raw) : platform::gbk_to_utf8(raw), utf8});
        start = end;
        if (start < bytes.size() && bytes[start] == '\r')
            ++start;
        if (start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
}

std::optional<std::size_t> IniDocument::find_section(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = section_name(lines_[i].text);
        if (name && same_name(*name, section))
            return i;
    }
    return std::nullopt;
}

std::size_t IniDocument::section_end(std::size_t header) const
{
    std::size_t i = header + 1;
    while (i < lines_.size() && !section_name(lines_[i].text))
        ++i;
    return i;
}

std::optional<std::size_t> IniDocument::find_key(std::size_t header, std::string_view key) const
{
    const std::size_t end = section_end(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        std::string_view k = line_key(lines_[i].text);
        if (!k.empty() && same_name(k, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const
{
    auto header = find_section(section);
    if (!header)
        return std::nullopt;
    auto line = find_key(*header, key);
    if (!line)
        return std::nullopt;
    return std::string(line_value(lines_[*line].text));
}

void IniDocument::set_value(std::string_view section, std::string_view key, std::string_view value)
{
    Line made{{}, key_line(key, value), true};
    auto header = find_section(section);
    if (!header) {
        lines_.push_back(Line{{}, "[" + std::string(section) + "]", true});
        lines_.push_back(std::move(made));
        return;
    }
    if (auto line = find_key(*header, key)) {
        lines_[*line] = std::move(made);
        return;
    }
    // After the section's last key, so blank lines and comments that
    // separate it from the next section stay where they are.
    std::size_t at = *header + 1;
    for (std::size_t i = *header + 1; i < section_end(*header); ++i)
        if (!line_key(lines_[i].text).empty())
            at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(made));
}

std::string IniDocument::file_bytes() const
{
    std::string out;
    for (const Line& line : lines_) {
        out += line.changed ? platform::utf8_to_gbk(line.text) : line.raw;
        out += "\r\n";
    }
    return out;
}

std::optional<int> parse_profile_int(std::string_view text)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t n = 0;
    for (char c : text) {
        int d = hex_digit(c);
        if (d < 0 || d >= base)
            return std::nullopt;
        n = n * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (n > 0xFFFFFFFFull)
            return std::nullopt;
    }
    std::int64_t v;
    if (base == 16) {
        // Eight hex digits are a 32-bit pattern: $FFFFFFFF is -1.
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    } else {
        v = static_cast<std::int64_t>(n);
        if (v > (negative ? 2147483648LL : 2147483647LL))
            return std::nullopt;
    }
    return static_cast<int>(negative ? -v : v);
}
