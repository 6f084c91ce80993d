// The decision on Windows' startup switch: the Windows version, and whether this is Wine.
#include "platform/StartupSwitch.h"

#include <windows.h>
#include <versionhelpers.h>

namespace platform
{

namespace
{

std::optional<bool> overridden;

bool SystemHonoursSwitch()
{
    // Wine reports the Windows version it imitates, but its start runs every Run value and StartUp
    // shortcut whatever the switch says; its ntdll alone exports this function.
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"); ntdll && GetProcAddress(ntdll, "wine_get_version"))
        return false;
    return IsWindows8OrGreater();
}

} // namespace

bool WindowsHonoursStartupSwitch()
{
    if (overridden)
        return *overridden;
    static const bool honoured = SystemHonoursSwitch();
    return honoured;
}

void OverrideStartupSwitch(std::optional<bool> honoured)
{
    overridden = honoured;
}

} // namespace platform
