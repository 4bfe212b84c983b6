// Starting the autorun and shortcut program through the Windows shell:
// plainly for an administrator of an old Windows, elevated ("runas")
// otherwise, after a notice from the language file for a limited user.
#include <windows.h>

#include <shellapi.h>

#include "platform/platform.h"
#include "platform/startrules.h"
#include "platform/windows/codepage.h"

namespace platform {

namespace {

std::string system_text(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::string message = n > 0 ? windows::narrow(std::wstring_view(text, n)) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

// The elevation prompt; the user's refusal (error 1223) fails it too.
void elevated_start(HWND owner, const std::wstring& file, const std::wstring& parameters)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        const DWORD code = GetLastError();
        throw StartError(rules::system_error_message(code, system_text(code)));
    }
}

// A failed plain start is reported as well: it would otherwise tell the user
// nothing while nothing happened.
void plain_start(HWND owner, const std::string& path, const std::wstring& file, const std::wstring& parameters)
{
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", file.c_str(), parameters.c_str(), nullptr, SW_SHOW));
    if (result <= 32)
        throw StartError(rules::start_failed_message(path, system_text(static_cast<DWORD>(result))));
}

void show_notice(const std::string& text, const std::string& caption, UINT icon)
{
    MessageBoxW(nullptr, windows::widen(text).c_str(), windows::widen(caption).c_str(), MB_OK | icon);
}

}  // namespace

void start_program(const std::string& folder, std::uintptr_t owner_handle, const std::string& path,
                   const std::string& argument, const std::string& version)
{
    const HWND owner = reinterpret_cast<HWND>(owner_handle);
    const std::wstring file = windows::widen(rules::quoted(path));
    const std::wstring parameters = windows::widen(rules::quoted(argument));
    switch (rules::start_way(version, &is_administrator)) {
    case rules::StartWay::plain: plain_start(owner, path, file, parameters); return;
    case rules::StartWay::notice_then_elevated: {
        const std::string caption = lang_text(folder, "kestrel_messagebox", "message_caption_alter");
        const std::string text = lang_text(folder, "kestrel_messagebox", "message_accountchoose");
        show_notice(text, caption, MB_ICONINFORMATION);
        elevated_start(owner, file, parameters);
        return;
    }
    case rules::StartWay::elevated: elevated_start(owner, file, parameters); return;
    }
}

const char* vk_reg_file_name() noexcept { return "vk_reg.exe"; }

std::string lang_text(const std::string& folder, const std::string& section, const std::string& key)
{
    const std::wstring file = windows::widen(folder + "ks_lanset.dll");
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        show_notice("File ks_lanset.dll not found!", "error", MB_ICONERROR);
        return {};
    }
    const std::wstring section_name = windows::widen(rules::lower_ascii(section));
    const std::wstring key_name = windows::widen(rules::lower_ascii(key));
    // The profile function says nothing of a cut value but its length: grow
    // the buffer until the value fits.
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section_name.c_str(), key_name.c_str(), L"", value.data(),
                                                 static_cast<DWORD>(value.size()), file.c_str());
        if (n + 1 < value.size()) {
            value.resize(n);
            return windows::narrow(value);
        }
        value.resize(value.size() * 2);
    }
}

}  // namespace platform
