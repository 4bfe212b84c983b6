// The Windows version's name and the administrator test.
#include <windows.h>

#include "platform/platform.h"
#include "platform/startrules.h"
#include "platform/windows/codepage.h"

namespace platform {

namespace {

// The current thread's token, or the process's when the thread has none.
HANDLE open_query_token()
{
    HANDLE token = nullptr;
    if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token))
        return token;
    if (GetLastError() == ERROR_NO_TOKEN && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return token;
    return nullptr;
}

}  // namespace

bool is_administrator()
{
    const HANDLE token = open_query_token();
    if (!token)
        return false;
    // A group list longer than this buffer counts as no membership.
    alignas(TOKEN_GROUPS) unsigned char buffer[1024];
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenGroups, buffer, sizeof buffer, &size);
    CloseHandle(token);
    if (!read)
        return false;

    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, &administrators))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
    bool member = false;
    for (DWORD i = 0; i < groups->GroupCount && !member; ++i)
        member = EqualSid(groups->Groups[i].Sid, administrators) != FALSE;
    FreeSid(administrators);
    return member;
}

std::string os_name()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return rules::unknown_version;
    rules::WindowsVersion version;
    version.nt_family = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.service_pack = windows::narrow(info.szCSDVersion);
    return rules::os_name_of(version);
}

}  // namespace platform
