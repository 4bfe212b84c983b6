// A Windows profile (INI) file in the GBK code page, read and changed the
// way the Windows profile functions do it: section and key names match
// without regard to case, names and values are trimmed, either line end is
// read and CRLF is written.  Lines that are not changed are written back
// byte for byte, so other sections, keys and comments stay as they were.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;
    // Parses the bytes of a file (GBK).
    explicit IniDocument(std::string_view file_bytes);

    // The value of `key` in `section` (UTF-8), or nothing when either is
    // missing.  The first section and the first key of the name count.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value` (UTF-8), adding the key at the end
    // of the section, or the section at the end of the file, when missing.
    void set_value(std::string_view section, std::string_view key, std::string_view value);

    // The whole document as file bytes: GBK, CRLF after every line.
    std::string file_bytes() const;

private:
    struct Line {
        std::string raw;  // bytes as read; empty for lines made here
        std::string text;  // the line in UTF-8
        bool changed = false;
    };

    std::optional<std::size_t> find_section(std::string_view section) const;
    // End of the section whose header is at `header`: the next header or the end.
    std::size_t section_end(std::size_t header) const;
    std::optional<std::size_t> find_key(std::size_t header, std::string_view key) const;

    std::vector<Line> lines_;
};

// An integer as the program's profile reader takes it: decimal with an
// optional sign, or hexadecimal after "0x" or "$", the whole text trimmed.
// Anything else, or a number outside 32 bits, gives nothing.
std::optional<int> parse_profile_int(std::string_view text);
