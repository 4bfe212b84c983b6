// GBK (code page 936) <-> UTF-8 through glibc's iconv.
#include "platform/platform.h"

#include <cerrno>
#include <cstddef>
#include <iconv.h>

namespace platform {
namespace {

// One conversion descriptor, closed on every path.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) { }
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const noexcept { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const noexcept { return cd_; }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with `lead`; 1 for a stray byte,
// so that an unconvertible character becomes one '?' and not several.
std::size_t utf8_sequence_length(unsigned char lead) noexcept
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

using SkipFn = std::size_t (*)(const char* p, std::size_t left);

std::size_t skip_one_byte(const char*, std::size_t) { return 1; }

std::size_t skip_utf8_character(const char* p, std::size_t left)
{
    std::size_t n = utf8_sequence_length(static_cast<unsigned char>(*p));
    return n <= left ? n : left;
}

// Converts `input` whole; each input sequence iconv rejects is replaced by
// '?', and `skip` tells how many bytes that sequence takes.
std::string convert(std::string_view input, const char* to, const char* from, SkipFn skip)
{
    std::string out;
    if (input.empty())
        return out;
    Converter cv(to, from);
    if (!cv.ok()) {
        out.assign(input.size(), '?');
        return out;
    }
    char* in = const_cast<char*>(input.data());  // iconv never writes to its input
    std::size_t in_left = input.size();
    std::string buffer(input.size() * 2 + 16, '\0');
    while (in_left > 0) {
        char* dst = buffer.data();
        std::size_t dst_left = buffer.size();
        std::size_t rc = iconv(cv.get(), &in, &in_left, &dst, &dst_left);
        out.append(buffer.data(), buffer.size() - dst_left);
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ: a sequence with no counterpart; EINVAL: cut off at the end.
        out.push_back('?');
        std::size_t n = errno == EINVAL ? in_left : skip(in, in_left);
        in += n;
        in_left -= n;
    }
    // Flush any shift state (none for these two encodings, but cheap).
    char* dst = buffer.data();
    std::size_t dst_left = buffer.size();
    iconv(cv.get(), nullptr, nullptr, &dst, &dst_left);
    out.append(buffer.data(), buffer.size() - dst_left);
    return out;
}

}  // namespace

std::string gbk_to_utf8(std::string_view gbk) { return convert(gbk, "UTF-8", "GBK", skip_one_byte); }

std::string utf8_to_gbk(std::string_view utf8) { return convert(utf8, "GBK", "UTF-8", skip_utf8_character); }

}  // namespace platform
