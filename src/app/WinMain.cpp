// Program entry: COM and common controls, the main window, the message loop.
#include "ui/frmMain.h"
#include "ui/frmAbout.h"
#include "console/ConsoleCommand.h"
#include "console/ConsoleArguments.h"
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/StartSteps.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int showCommand)
{
    // A window program seldom has a standard error: a crash is told in the error log it keeps too.
    platform::EndCrashesWithTheirCode(platform::ProgramFolder() + platform::names::ErrorLogFile);
    namespace steps = platform::startsteps;
    steps::Mark(L"load the program");
    platform::ComApartment com;
    // Ravelin.exe /list [/json] writes the list for scripts and shows no window, as ravelinc does.
    if (NamesListSwitch(arguments))
        return RunConsole(arguments);
    INITCOMMONCONTROLSEX controls{static_cast<DWORD>(sizeof(INITCOMMONCONTROLSEX)),
                                  ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    steps::Mark(L"COM and common controls");

    frmMain main;
    if (!main.Create(instance))
        return 0; // another instance runs: end silently
    ShowWindow(main.Handle(), showCommand);
    RedrawWindow(main.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    steps::Mark(L"show and paint");
    steps::FirstPaint();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        if (main.TranslateAccelerators(&msg))
            continue;
        if (IsDialogMessageW(main.Handle(), &msg))
            continue;
        // The About box is modeless: Tab, Enter and Esc work in it too.
        if (frmAbout* about = frmAbout::Existing(); about && IsDialogMessageW(about->Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    steps::Report();
    return static_cast<int>(msg.wParam);
}
