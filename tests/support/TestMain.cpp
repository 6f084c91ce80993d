// Test entry: COM and the common controls, as the program has them.
#include "platform/Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Wine's debugger ends a crashed program with exit code 0: a crash ends this one with its code.
    SetUnhandledExceptionFilter([](EXCEPTION_POINTERS* crash) -> LONG {
        TerminateProcess(GetCurrentProcess(), crash->ExceptionRecord->ExceptionCode);
        return EXCEPTION_EXECUTE_HANDLER;
    });
    platform::ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
