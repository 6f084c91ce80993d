// clsExitWindows: the option-to-flags table and the privilege step.
#include "apply/clsExitWindows.h"
#include "platform/Privileges.h"

std::optional<UINT> ExitWindowsFlags(int aOption)
{
    switch (aOption)
    {
    case 0:
        return EWX_LOGOFF | EWX_FORCE;
    case 1:
        return EWX_SHUTDOWN | EWX_FORCE;
    case 2:
        // 7, not 6: shut down and restart together.
        return EWX_SHUTDOWN | EWX_REBOOT | EWX_FORCE;
    case 8:
        return EWX_POWEROFF | EWX_FORCE;
    }
    return std::nullopt;
}

DWORD clsExitWindows::ExitWindows(int aOption)
{
    EnableShutdownPrivilege();
    const std::optional<UINT> flags = ExitWindowsFlags(aOption);
    return flags ? platform::RequestExitWindows(*flags, 0xFFFFFFFF) : ERROR_SUCCESS;
}

void clsExitWindows::EnableShutdownPrivilege()
{
    // Without the privilege Windows refuses the request; nothing more can be done about it here.
    platform::SetProcessPrivilege(SE_SHUTDOWN_NAME, true);
}
