// Test entry: COM and the common controls, as the program has them.
#include "platform/CrashExit.h"
#include "platform/Handles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // A test program that crashes fails, with the exception's code.
    platform::EndCrashesWithTheirCode();
    platform::ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES |
                                                        ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
