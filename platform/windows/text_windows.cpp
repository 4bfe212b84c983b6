// GBK (code page 936) <-> UTF-8 through the Windows code-page functions.
#include "platform/platform.h"
#include "platform/windows/codepage.h"

namespace platform {

namespace windows {

std::wstring widen(std::string_view text, UINT code_page)
{
    const int n = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string narrow(std::wstring_view wide, UINT code_page)
{
    const char* replacement = code_page == CP_UTF8 ? nullptr : "?";
    const int n =
        WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, replacement, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, replacement, nullptr);
    return text;
}

}  // namespace windows

std::string gbk_to_utf8(std::string_view gbk) { return windows::narrow(windows::widen(gbk, 936), CP_UTF8); }

std::string utf8_to_gbk(std::string_view utf8) { return windows::narrow(windows::widen(utf8, CP_UTF8), 936); }

}  // namespace platform
