// A real main window per test, closed before the fixture cleans up after it.
#pragma once
#include "ui/frmMain.h"
#include "support/Fixtures.h"

#include <memory>
#include <string>

namespace testsupport
{

inline std::wstring WindowText(HWND window)
{
    wchar_t text[2048] = {};
    GetWindowTextW(window, text, 2048);
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
        created = window->Create(GetModuleHandleW(nullptr));
        EXPECT_TRUE(created);
        PumpMessages(); // the rest of the start, posted for after the first paint
        return *window;
    }
    std::unique_ptr<frmMain> window;
    bool created = false;
};

} // namespace testsupport
