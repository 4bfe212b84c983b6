// Starting programs and web addresses through the Windows shell.
#include "platform/platform.h"

#include <shellapi.h>
#include <windows.h>

namespace platform {

bool start_program(const std::string& path, const std::vector<std::string>& arguments, bool elevated)
{
    std::string line;
    for (const auto& a : arguments)
        line += (line.empty() ? "\"" : " \"") + a + "\"";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, elevated ? "runas" : "open", path.c_str(), line.c_str(), nullptr, SW_SHOWNORMAL));
    return result > 32;
}

bool is_administrator()
{
    SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    BOOL member = FALSE;
    if (AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                 &administrators)) {
        CheckTokenMembership(nullptr, administrators, &member);
        FreeSid(administrators);
    }
    return member != FALSE;
}

std::string system_name() { return "Windows"; }

bool open_url(const std::string& url)
{
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace platform
