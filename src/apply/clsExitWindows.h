// Logging off and restarting Windows, always forcibly, after enabling the shutdown privilege.
#pragma once
#include <windows.h>
#include <optional>

// winuser.h names an old two-argument form of ExitWindowsEx ExitWindows; the method below
// takes that name.
#undef ExitWindows

// Flags of ExitWindowsEx for an option: 0 log off, 1 shut down, 2 restart, 8 power off, each
// with EWX_FORCE. Any other option has none.
std::optional<UINT> ExitWindowsFlags(int aOption);

class clsExitWindows
{
  public:
    // Enables the shutdown privilege whatever the option, then asks Windows to end the session
    // as the option says; an option without flags ends nothing. Returns the system error when
    // Windows refuses.
    DWORD ExitWindows(int aOption);

  private:
    void EnableShutdownPrivilege();
};
