// Token privileges through the security functions; the session request through ExitWindowsEx.
#include "platform/Privileges.h"
#include "platform/Handles.h"

#include <sddl.h>
#include <vector>

namespace platform
{

namespace
{
ExitWindowsHandler& ExitWindowsOverride()
{
    static ExitWindowsHandler handler = nullptr;
    return handler;
}
} // namespace

DWORD SetProcessPrivilege(const wchar_t* name, bool enable)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return GetLastError();
    UniqueHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid))
        return GetLastError();
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous), &previous, &previousLength))
        return GetLastError();
    // Success may still mean the token lacks the privilege: that is reported as the last error.
    return GetLastError();
}

DWORD RequestExitWindows(UINT flags, DWORD reason)
{
    if (ExitWindowsHandler handler = ExitWindowsOverride())
        return handler(flags, reason);
    if (ExitWindowsEx(flags, reason))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_NOT_ALL_ASSIGNED;
}

void OverrideExitWindows(ExitWindowsHandler handler)
{
    ExitWindowsOverride() = handler;
}

std::wstring CurrentUserSid()
{
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return {};
    const UniqueHandle token = MakeUniqueHandle(opened);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    wchar_t* text = nullptr;
    if (!size || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    std::wstring sid(text);
    LocalFree(text);
    return sid;
}

} // namespace platform
