// A real main window per test, closed before the fixture cleans up after it: the window, its
// command and control IDs, and the texts of its controls.
#pragma once
#include "ui/frmMain.h"
#include "ui/resource.h"
#include "support/Fixtures.h"
#include "support/Processes.h"

#include <commctrl.h>

#include <memory>
#include <string>

namespace testsupport
{

inline std::wstring ItemText(HWND list, int item, int subItem)
{
    wchar_t text[512] = {};
    ListView_GetItemText(list, item, subItem, text, 512);
    return text;
}

class MainWindowFixture : public RavelinTest
{
  protected:
    void TearDown() override
    {
        window.reset();
        RavelinTest::TearDown();
    }
    // Creates the window and runs its whole start sequence; the test fails when that is refused.
    frmMain& Open()
    {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        PumpMessages(); // the rest of the start, posted for after the first paint
        return *window;
    }
    // A menu item or button chosen, as its real command.
    void Command(int id) { SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring StatusText(int part) const
    {
        wchar_t text[512] = {};
        SendMessageW(window->Control(IDC_STATUSBAR), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::unique_ptr<frmMain> window;
};

} // namespace testsupport
