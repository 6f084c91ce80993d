// The registry, INI and file functions the rest of the program stands on; and the caption buttons
// drawn without the symbol font: where they stand, what they show, how a press ends.
#include "platform/CaptionButtons.h"
#include "platform/Console.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/IniFile.h"
#include "platform/MachineLock.h"
#include "platform/ProcessSnapshot.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Skin.h"
#include "platform/StartSteps.h"
#include "platform/Text.h"
#include "support/Fixtures.h"
#include "support/Processes.h"

#include <aclapi.h>
#include <algorithm>
#include <regex>
#include <sddl.h>

using namespace platform;
using PlatformTest = testsupport::RavelinTest;
using testsupport::Canvas;

TEST_F(PlatformTest, RegistryValuesGoByTheirExactName)
{
    const std::wstring services = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
    Reg reg;
    reg.RootKey(HKEY_LOCAL_MACHINE);
    reg.KeyPath(services); // missing: made on the first write
    for (const wchar_t* name : {L" Spaced ", L"", L"%Expand"})
    {
        SCOPED_TRACE(name);
        reg.ValueName(name);
        EXPECT_EQ(reg.ReadValue(), L"");
        const std::wstring data = std::wstring(L"C:\\") + name + L".exe";
        reg.ValueData(data);
        ASSERT_EQ(reg.WriteValue(), ERROR_SUCCESS);
        DWORD type = 0;
        EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, services, name, &type), data);
        EXPECT_EQ(type, static_cast<DWORD>(name[0] == L'%' ? REG_EXPAND_SZ : REG_SZ));
        EXPECT_EQ(reg.ReadValue(), data); // unexpanded
    }
    reg.ValueName(L"Spaced"); // a trimmed name finds no value of its own
    EXPECT_EQ(reg.ReadValue(), L"");
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND);
    reg.ValueName(L" Spaced ");
    EXPECT_EQ(reg.DeleteValue(), ERROR_SUCCESS);
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, services, L" Spaced "));
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_LOCAL_MACHINE, services, L""));
    // A key deleted by someone else while held open is made again.
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, services.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.WriteValue(), ERROR_SUCCESS);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, services, L" Spaced "), L"C:\\%Expand.exe");
}

TEST(PlatformRendering, EachValueTypeShowsAsText)
{
    const wchar_t text[] = L"%ProgramFiles%\\b.exe", multi[] = L"one\0two\0";
    const auto bytes = [](const void* p, size_t n) {
        return std::vector<BYTE>((const BYTE*)p, (const BYTE*)p + n);
    };
    const struct
    {
        DWORD type;
        std::vector<BYTE> data;
        std::wstring shown;
    } cases[] = {{REG_EXPAND_SZ, bytes(text, sizeof(text)), text},
                 {REG_SZ, bytes(text, 7), L"%Pr"}, // no terminating NUL, and an odd byte count
                 {REG_DWORD, {0x05, 0x01, 0, 0}, L"261"},
                 {REG_QWORD, {0, 0, 0, 0, 1, 0, 0, 0}, L"4294967296"},
                 {REG_DWORD_BIG_ENDIAN, {1, 2, 3, 4}, L"16909060"},
                 {REG_MULTI_SZ, bytes(multi, sizeof(multi)), L"one two"},
                 {REG_BINARY, {0x0F, 0xAB, 0x10}, L"0F AB 10"}};
    for (const auto& c : cases)
        EXPECT_EQ(RenderRegData(c.type, c.data.data(), c.data.size()), c.shown) << c.type;
}

TEST_F(PlatformTest, IniFileAnswersAsTheSystemReaderDoes)
{
    const std::wstring path = programFolder + L"\\pack.ini";
    const std::string quoted = "\"" + std::string(498, 'q') + "\"",
                      text = "k=before\r\n[S]\r\n  a  =   value  \r\nb=\"quoted  "
                             "\"\r\nc='single'\r\nd=\"open\r\ne=\"\r\nf=''\r\n"
                             "g=\"mixed'\r\n\th\t=\ttabs\t\r\nempty=\r\nnoequals\r\nlong=" +
                             std::string(600, 'x') + "\r\nq=" + quoted +
                             "\r\nk=first\r\nK=second\r\n[s]\r\nk=third\r\nonly=later\r\n[ Spaced "
                             "]\r\nk=spaced\r\n[T] x\r\nk=t\r\n";
    const char wide[] = "\xFF\xFE[\0S\0]\0\n\0w\0=\0\xE9\0\x45\x06\n\0";
    const std::string utf16(wide, sizeof(wide) - 1);
    for (const std::string& bytes : {text, std::string("[S]\nw=D\xE9j\xE0\n[T]\nk=v"), utf16})
    {
        testsupport::WriteBytes(path, bytes);
        const IniFile ini = IniFile::Parse(bytes);
        for (const wchar_t* section : {L"S", L"s", L" Spaced ", L"Spaced", L"T", L"T] x", L"None"})
            for (const wchar_t* key : {L"a", L" a ", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"empty",
                                       L"noequals", L"long", L"q", L"K", L"only", L"w", L"missing"})
                for (const std::wstring def : {L"", L"def  "})
                    for (size_t size : {500, 128, 1})
                    {
                        std::wstring buffer(size, L'\0');
                        buffer.resize(GetPrivateProfileStringW(section, key, def.c_str(), buffer.data(),
                                                               static_cast<DWORD>(size), path.c_str()));
                        EXPECT_EQ(ini.GetString(section, key, def, size), buffer) << section << "/" << key;
                    }
    }
}

TEST_F(PlatformTest, AReplaceIsWholeOrNothingAndOnlyASkinFileIsASkin)
{
    const std::wstring path = programFolder + L"\\store.pro";
    EXPECT_EQ(ReplaceFileAtomically(path, "first"), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(ReplaceFileAtomically(path, "second"), static_cast<DWORD>(ERROR_SUCCESS));
    CreateDirectoryW((path + L".new").c_str(), nullptr); // in the way of the temporary file
    EXPECT_NE(ReplaceFileAtomically(path, "third"), static_cast<DWORD>(ERROR_SUCCESS));
    RemoveDirectoryW((path + L".new").c_str());
    // A target held open by another program is not replaced, and nothing is left beside it.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(ReplaceFileAtomically(path, "fourth"), static_cast<DWORD>(ERROR_SUCCESS));
    // A write the system refuses reports the system's own reason.
    EXPECT_EQ(WriteAll(held, "x"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(held);
    EXPECT_EQ(testsupport::ReadBytes(path), "second");
    EXPECT_FALSE(FileExists(path + L".new"));

    Skin skin;
    testsupport::WriteBytes(path, "[Panel]\r\nBackColor=1,2,3\r\n");
    EXPECT_FALSE(skin.LoadSkinFile(path));
    testsupport::WriteBytes(path,
                            "[Skin]\r\n[Panel]\r\nBackColor=0,0,0\r\nTextColor=bad\r\n[Font]\r\nSize=99\r\n");
    EXPECT_TRUE(skin.LoadSkinFile(path));
    // Black is a colour: the panel takes it; a bad colour keeps the default, a size out of range too.
    EXPECT_EQ(skin.PanelBackColor() | skin.PanelTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(skin.FontPoints(), 8);
    // A part over 255 is refused, not cut to its low byte.
    for (const char* bad : {"300,0,0", "0,300,0", "0,0,300"})
    {
        Skin fresh;
        testsupport::WriteBytes(path, std::string("[Skin]\r\n[Panel]\r\nTextColor=") + bad + "\r\n");
        EXPECT_TRUE(fresh.LoadSkinFile(path));
        EXPECT_EQ(fresh.PanelTextColor(), RGB(0, 0, 0)) << bad;
    }
    EXPECT_FALSE(skin.LoadSkinFile(programFolder + L"\\NoSuch.skn"));
}

TEST_F(PlatformTest, StartStepsGoToTheFileABenchmarkNamesAsUtf8LinesInOrder)
{
    const std::wstring path = programFolder + L"\\steps.txt";
    SetEnvironmentVariableW(L"RAVELIN_BENCH_STEPS", path.c_str());
    startsteps::Mark(L"\u00e9t\u00e9");
    startsteps::Mark(L"fill");
    startsteps::Report();
    SetEnvironmentVariableW(L"RAVELIN_BENCH_STEPS", nullptr);
    const std::string text = testsupport::ReadBytes(path);
    std::smatch at;
    ASSERT_TRUE(std::regex_match(text, at, std::regex("\xC3\xA9t\xC3\xA9\t([0-9.]+)\nfill\t([0-9.]+)\n")));
    EXPECT_LE(std::stod(at[1]), std::stod(at[2]));
}

TEST(PlatformText, TrimHexAndLinesTakeTheirEdgesAsTheReadersDo)
{
    EXPECT_EQ(platform::Trim(L"   "), L"");
    EXPECT_EQ(platform::Trim(L"\ta\t", L" \t"), L"a");
    EXPECT_EQ(platform::Trim(L"\ta "), L"\ta") << "blanks are spaces unless the reader says otherwise";
    EXPECT_EQ(platform::TrimEnd(L"  a. \r\n", L"\r\n ."), L"  a");

    EXPECT_EQ(platform::Hex(0, 2), L"00");
    EXPECT_EQ(platform::Hex(0xAB, 1), L"AB") << "never shorter than the value";
    EXPECT_EQ(platform::Hex(0x1f, 4, true), L"001f");

    using Lines = std::vector<std::wstring_view>;
    EXPECT_EQ(platform::SplitLines(L"a\r\nb\nc\rd"), (Lines{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(platform::SplitLines(L"a\r\n\r\n"), (Lines{L"a", L""}))
        << "an empty line is a line; the end is not";
    EXPECT_EQ(platform::SplitLines(L"\r\r\n"), (Lines{L"", L""}));
    EXPECT_EQ(platform::SplitLines(L""), Lines{});

    EXPECT_EQ(platform::DecodeText(std::string("\xFE\xFF\x00\x61\x20\xAC", 6)), L"a\u20ac");
    EXPECT_EQ(platform::DecodeText(std::string("\xFF\xFE\x61\x00\xC4\x30", 6)), L"a\u30c4");
    EXPECT_TRUE(platform::IsUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
    EXPECT_FALSE(platform::IsUtf8(std::string(10, '\xA9'))) << "ten copyright signs in ANSI";
    EXPECT_EQ(platform::ErrorFromHResult(S_FALSE), DWORD(ERROR_SUCCESS)) << "a success all the same";

    // A conversion the system refuses (as it refuses the ANSI flags where that page is UTF-8) must
    // not pass for a lossless empty text: the store would be written empty.
    bool lossless = true;
    EXPECT_EQ(platform::CodePageFromWide(54321, L"caf\u00e9", &lossless), "");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(platform::CodePageFromWide(CP_UTF8, L"caf\u00e9", &lossless), "caf\xC3\xA9");
    EXPECT_TRUE(lossless);
}

TEST(PlatformConsole, AConsoleTakesEachWriteWholeHoweverShort)
{
    // A console of its own, whose screen reads back what was written to it.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const UniqueHandle screen = MakeUniqueHandle(CreateFileW(
        L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    SetStdHandle(STD_OUTPUT_HANDLE, screen.get());
    EXPECT_EQ(WriteStandardOutput(L"x") | WriteStandardOutput(L"\u00e9t\u00e9"), DWORD(ERROR_SUCCESS));
    wchar_t shown[4] = {};
    DWORD count = 0;
    ReadConsoleOutputCharacterW(screen.get(), shown, 4, {0, 0}, &count);
    EXPECT_EQ(std::wstring(shown, count), L"x\u00e9t\u00e9");
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    FreeConsole();
}

TEST(PlatformProcesses, ASnapshotNamesEachProcessItsParentItsStartAndTheCpuItsThreadsUsed)
{
    const ULONGLONG burnt = platform::OwnCpuTime() + 300000; // 30 ms more
    for (volatile unsigned spin = 0; platform::OwnCpuTime() < burnt;)
        spin = spin + 1;
    platform::StartedProcess child;
    const std::wstring demo = L"\"" + testsupport::BuildFolder() + L"\\demo\\syncdrive.exe\" /stay 3000";
    ASSERT_EQ(platform::StartCommand(demo, child), DWORD(ERROR_SUCCESS));
    int selves = 0, children = 0;
    for (const platform::RunningProcess& process : platform::ProcessSnapshots().Take())
        if (process.id == GetCurrentProcessId() && ++selves)
        {
            EXPECT_TRUE(platform::EqualsNoCase(process.exeName, L"test_platform.exe")) << process.exeName;
            EXPECT_GE(process.figures.cpuTicks, burnt - 200000) << "in 100 ns, within Wine's 10 ms";
            EXPECT_LE(process.createTime, platform::SystemTimeNow());
            EXPECT_GT(process.createTime, platform::SystemTimeNow() - 600 * 10000000ULL)
                << "in the last 10 min";
        }
        else
            children += process.parentId == GetCurrentProcessId() &&
                        platform::EqualsNoCase(process.exeName, L"syncdrive.exe");
    EXPECT_EQ(selves, 1);
    EXPECT_EQ(children, 1) << "the child, by its parent";
}

TEST(PlatformLock, EveryoneMayWaitForTheLockAndReleaseItAndDoNothingElse)
{
    const MachineLock lock(L"Brightfold.Ravelin.TestLock", 0);
    ASSERT_TRUE(lock.Held());
    UniqueHandle mutex(OpenMutexW(READ_CONTROL, FALSE, L"Global\\Brightfold.Ravelin.TestLock"));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t* text = nullptr;
    ASSERT_EQ(GetSecurityInfo(mutex.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    EXPECT_EQ(std::wstring(text), L"D:(A;;0x100001;;;WD)"); // synchronize and modify state, for the world
    LocalFree(text);
    LocalFree(descriptor);
}

namespace
{
std::vector<WPARAM> commands; // the system commands the test window was sent, and swallowed

LRESULT CALLBACK CommandsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND)
        return commands.push_back(wParam & 0xFFF0), 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(DWORD style, DWORD exStyle = 0)
{
    WNDCLASSW wc{0,       CommandsProc, 0,       0,       GetModuleHandleW(nullptr),
                 nullptr, nullptr,      nullptr, nullptr, L"Caption"};
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(exStyle, L"Caption", L"Caption", style | WS_VISIBLE, 100, 100, 300, 200,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(window);
    commands.clear();
    return window;
}

// A point in window coordinates (mirrored ones in a right-to-left window) on the screen.
POINT OnScreen(HWND window, int x, int y)
{
    RECT w;
    GetWindowRect(window, &w);
    return {GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL ? w.right - 1 - x : w.left + x, w.top + y};
}

LRESULT HitAt(HWND window, POINT p)
{
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

// While a press is followed, the button held down is the pushed one of ours, pixel for pixel.
struct Pressed
{
    static inline HWND window;
    static inline CaptionButton button;
    static inline int differing = -1;
    static inline bool takeUp = false; // the let-go, as a filter may in the system's own loops
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == MSGF_MAX && takeUp && reinterpret_cast<MSG*>(lParam)->message == WM_LBUTTONUP)
            return ReleaseCapture(), TRUE;
        if (code == MSGF_MAX && differing < 0)
        {
            Canvas ours(button.rect);
            const RECT r = button.rect;
            DrawCaptionButton(ours.dc, {0, 0, r.right - r.left, r.bottom - r.top}, button.glyph, true, false);
            HDC dc = GetWindowDC(window);
            differing = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x)
                    differing += GetPixel(dc, x, y) != GetPixel(ours.dc, x - r.left, y - r.top);
            ReleaseDC(window, dc);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
} // namespace

TEST(CaptionButtons, StandWhereTheSystemDrawsAndHitTestsThem)
{
    Canvas memory;
    RECT face{0, 0, 16, 14};
    DrawEdge(memory.dc, &face, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const COLORREF topLeft = GetPixel(memory.dc, 0, 0), bottomRight = GetPixel(memory.dc, 15, 13);
    const struct
    {
        DWORD style, exStyle;
        std::vector<int> hits;
        int disabled; // bits by position
    } cases[] = {{WS_OVERLAPPEDWINDOW, 0, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}, 0},
                 {WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, WS_EX_LAYOUTRTL, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}, 0},
                 {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}, 2},
                 {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, {HTCLOSE}, 0},
                 {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, {}, 0},
                 {WS_POPUP | WS_CAPTION, 0, {}, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.style << " " << c.exStyle);
        HWND window = MakeWindow(c.style, c.exStyle);
        const std::vector<CaptionButton> buttons = CaptionButtonsOf(window);
        ASSERT_EQ(buttons.size(), c.hits.size());
        HDC dc = GetWindowDC(window);
        for (size_t i = 0; i < buttons.size(); ++i)
        {
            const RECT& r = buttons[i].rect;
            EXPECT_EQ(buttons[i].hit, c.hits[i]);
            EXPECT_EQ(buttons[i].disabled, ((c.disabled >> i) & 1) != 0);
            // The system's own face has its outer edges on ours, and its hit test agrees at the corners.
            EXPECT_EQ(GetPixel(dc, r.left, r.top), topLeft) << i;
            EXPECT_EQ(GetPixel(dc, r.right - 1, r.bottom - 1), bottomRight) << i;
            EXPECT_EQ(HitAt(window, OnScreen(window, r.left + 1, r.top + 1)), c.hits[i]);
            EXPECT_EQ(HitAt(window, OnScreen(window, r.right - 2, r.bottom - 2)), c.hits[i]);
            EXPECT_EQ(buttons[i].glyph == CaptionGlyph::Restore, i == 1 && (c.style & WS_MAXIMIZE)) << i;
        }
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
}

TEST(CaptionButtons, GlyphsShowTheirShapeInkedEtchedOrPushed)
{
    Canvas canvas;
    auto at = [&](CaptionGlyph glyph, bool pushed, bool disabled, int x, int y) {
        DrawCaptionButton(canvas.dc, RECT{0, 0, 16, 14}, glyph, pushed, disabled);
        return GetPixel(canvas.dc, x, y);
    };
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT), face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(at(CaptionGlyph::Close, false, false, 8, 7), ink);  // where the strokes cross
    EXPECT_EQ(at(CaptionGlyph::Close, false, false, 8, 4), face); // between the arms
    EXPECT_EQ(at(CaptionGlyph::Close, false, false, 5, 4), ink);  // the end of a stroke,
    EXPECT_EQ(at(CaptionGlyph::Close, true, false, 5, 4), face);  // pushed one pixel down and right
    EXPECT_EQ(at(CaptionGlyph::Close, true, false, 6, 5), ink);
    EXPECT_EQ(at(CaptionGlyph::Close, false, true, 8, 7), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(at(CaptionGlyph::Minimize, false, false, 8, 7), face);
    // The bar at the bottom, three fifths of the glyph wide: its two ends and just beyond them.
    for (int x : {3, 4, 9, 10})
        EXPECT_EQ(at(CaptionGlyph::Minimize, false, false, x, 11), x == 4 || x == 9 ? ink : face) << x;
    EXPECT_EQ(at(CaptionGlyph::Maximize, false, false, 8, 7), face);
    EXPECT_EQ(at(CaptionGlyph::Maximize, false, false, 8, 3), ink); // the thick top edge,
    EXPECT_EQ(at(CaptionGlyph::Maximize, false, false, 4, 7), ink); // a side of one pixel
    EXPECT_EQ(at(CaptionGlyph::Maximize, false, false, 5, 7), face);
    EXPECT_EQ(at(CaptionGlyph::Restore, false, false, 12, 4), ink); // the window behind, up and right
}

TEST(CaptionButtons, ASkinDrawsThemWithoutTheSymbolFontOverTheFrameAndFollowsAPress)
{
    // Only a family that is installed counts, not one the font mapper only stands in for.
    EXPECT_TRUE(FontFamilyInstalled(L"Tahoma") || FontFamilyInstalled(L"DejaVu Sans"));
    EXPECT_FALSE(FontFamilyInstalled(L"No Such Family 7") || FontFamilyInstalled(L"MS Shell Dlg"));
    if (!CaptionGlyphsNeeded())
        GTEST_SKIP() << "the system has the symbol font and draws its own";
    HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    Skin skin;
    ASSERT_TRUE(skin.LoadSkinFile(testsupport::RepoFolder() + L"\\data\\Title.skn"));
    skin.ApplySkin(window);
    const std::vector<CaptionButton> buttons = CaptionButtonsOf(window);
    const auto centre = [&](int i) {
        const RECT& r = buttons[i].rect;
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    // At once on a window already shown, then after each paint of the frame, active or not.
    for (int paint : {0, 1, 2})
    {
        if (paint)
            SendMessageW(window, WM_NCACTIVATE, paint == 1, 0);
        if (paint)
            RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetWindowDC(window);
        EXPECT_EQ(GetPixel(dc, centre(0).x, centre(0).y), GetSysColor(COLOR_BTNTEXT)) << paint;
        ReleaseDC(window, dc);
    }
    // Let go on the button, off it, on a disabled one, and taken by the filter: only the first commands.
    const POINT minimise = OnScreen(window, centre(2).x, centre(2).y);
    Pressed::window = window;
    Pressed::button = buttons[2];
    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, Pressed::Filter, nullptr, GetCurrentThreadId());
    for (int offset : {0, 100, -1})
    {
        if (offset < 0)
            EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        SetCursorPos(minimise.x, minimise.y + std::max(offset, 0));
        PostMessageW(window, WM_MOUSEMOVE, 0, 0);
        PostMessageW(window, WM_LBUTTONUP, 0, 0);
        SendMessageW(window, WM_NCLBUTTONDOWN, offset < 0 ? HTCLOSE : HTMINBUTTON, 0);
    }
    MSG up;
    EXPECT_TRUE(
        PeekMessageW(&up, window, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)); // the disabled one took none
    Pressed::takeUp = true;
    PostMessageW(window, WM_LBUTTONUP, 0, 0);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTMINBUTTON, 0);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(Pressed::differing, 0);
    EXPECT_EQ(commands, std::vector<WPARAM>{SC_MINIMIZE});
    DestroyWindow(window);
}
