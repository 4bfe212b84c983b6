// Conversions between a code page and the wide text of the Windows API,
// shared by the Windows implementations.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace platform::windows {

std::wstring widen(std::string_view text, UINT code_page = CP_UTF8);
// Characters that the code page cannot hold become '?' (none for UTF-8).
std::string narrow(std::wstring_view wide, UINT code_page = CP_UTF8);

}  // namespace platform::windows
