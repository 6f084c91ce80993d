// Token privileges through the security functions; the session request through ExitWindowsEx.
#include "platform/Privileges.h"
#include "platform/Handles.h"

namespace platform {

namespace {
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
    if (!LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) return GetLastError();
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousLength = 0;
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(previous), &previous, &previousLength))
        return GetLastError();
    // Success may still mean the token lacks the privilege: that is reported as the last error.
    return GetLastError();
}

void RequestExitWindows(UINT flags, DWORD reason)
{
    if (ExitWindowsHandler handler = ExitWindowsOverride()) {
        handler(flags, reason);
        return;
    }
    ExitWindowsEx(flags, reason);
}

void OverrideExitWindows(ExitWindowsHandler handler)
{
    ExitWindowsOverride() = handler;
}

} // namespace platform
