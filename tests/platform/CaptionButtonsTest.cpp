// Caption buttons drawn without the symbol font: where they stand, what they show, how a press ends.
#include "platform/CaptionButtons.h"
#include "platform/Skin.h"
#include "support/Fixtures.h"

using namespace platform;
using testsupport::Canvas;

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
