// Process-token privileges and the request to end the Windows session.
#pragma once
#include <windows.h>
#include <string>

namespace platform
{

// Enables or disables a privilege of the current process token. Returns the system error;
// ERROR_NOT_ALL_ASSIGNED when the token does not hold the privilege.
DWORD SetProcessPrivilege(const wchar_t* name, bool enable);

// Asks Windows to log off, shut down or restart: the program's only call of ExitWindowsEx.
// Returns the system error when Windows refuses.
DWORD RequestExitWindows(UINT flags, DWORD reason);

// The security identifier of the process token's user as text ("S-1-5-21-..."); empty when the
// token cannot be read.
std::wstring CurrentUserSid();

} // namespace platform

namespace platform
{

// Tests take the request instead of Windows, so that the session goes on, and answer it; the
// program never calls this. Null gives the request back to Windows.
using ExitWindowsHandler = DWORD (*)(UINT flags, DWORD reason);
void OverrideExitWindows(ExitWindowsHandler handler);

} // namespace platform
