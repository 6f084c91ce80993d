// Program entry of ravelinc.exe, the console program: the request of its command line, no window.
#include "console/ConsoleCommand.h"
#include "platform/Console.h"
#include "platform/CrashExit.h"
#include "platform/Handles.h"

int wmain(int, wchar_t**)
{
    platform::EndCrashesWithTheirCode();
    platform::ComApartment com;
    return RunConsole(platform::CommandLineArguments());
}
