// Caption buttons in the classic frame's places, their glyphs made of GDI rectangles and lines.
#include "platform/CaptionButtons.h"
#include "platform/Handles.h"

#include <algorithm>

namespace platform
{

bool FontFamilyInstalled(const wchar_t* family)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, family, LF_FACESIZE);
    bool found = false;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return false;
    // Asked for a face, the mapper would answer a missing family with a stand-in; the listing
    // of installed families does not.
    EnumFontFamiliesExW(
        dc, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) -> int {
            *reinterpret_cast<bool*>(param) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

bool CaptionGlyphsNeeded()
{
    static const bool needed = !FontFamilyInstalled(L"Marlett");
    return needed;
}

std::vector<CaptionButton> CaptionButtonsOf(HWND window)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if ((style & WS_CAPTION) != WS_CAPTION || !(style & WS_SYSMENU) || (style & WS_MINIMIZE) ||
        (exStyle & WS_EX_TOOLWINDOW))
        return {};

    // The frame's inside, as the classic frame measures it.
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT inside{0, 0, outer.right - outer.left, outer.bottom - outer.top};
    int frame = 0, frameY = 0;
    if ((style & WS_THICKFRAME) && (style & (WS_DLGFRAME | WS_BORDER)) != WS_DLGFRAME)
    {
        frame = GetSystemMetrics(SM_CXFRAME);
        frameY = GetSystemMetrics(SM_CYFRAME);
    }
    else if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
    {
        frame = GetSystemMetrics(SM_CXDLGFRAME);
        frameY = GetSystemMetrics(SM_CYDLGFRAME);
    }
    else if ((style & WS_BORDER) || !(style & (WS_CHILD | WS_POPUP)))
    {
        frame = GetSystemMetrics(SM_CXBORDER);
        frameY = GetSystemMetrics(SM_CYBORDER);
    }
    InflateRect(&inside, -frame, -frameY);

    const int width = GetSystemMetrics(SM_CXSIZE), height = GetSystemMetrics(SM_CYSIZE);
    auto at = [&](int right) {
        return RECT{right - width, inside.top + 2, right - 2, inside.top + height - 2};
    };

    const UINT close = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
    std::vector<CaptionButton> buttons{{HTCLOSE, at(inside.right), CaptionGlyph::Close,
                                        close == 0xFFFFFFFF || (close & (MF_DISABLED | MF_GRAYED))}};
    // With either box both show, the one the style lacks disabled.
    if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))
    {
        buttons.push_back({HTMAXBUTTON, at(inside.right - width),
                           (style & WS_MAXIMIZE) ? CaptionGlyph::Restore : CaptionGlyph::Maximize,
                           !(style & WS_MAXIMIZEBOX)});
        buttons.push_back({HTMINBUTTON, at(inside.right - 2 * width + 2), CaptionGlyph::Minimize,
                           !(style & WS_MINIMIZEBOX)});
    }
    return buttons;
}

namespace
{

void Fill(HDC dc, int left, int top, int right, int bottom, HBRUSH brush)
{
    const RECT r{left, top, right, bottom};
    FillRect(dc, &r, brush);
}

// A window outline: its top edge thick, as on a title bar.
void Outline(HDC dc, const RECT& r, int top, HBRUSH brush)
{
    Fill(dc, r.left, r.top, r.right, r.top + top, brush);
    Fill(dc, r.left, r.top, r.left + 1, r.bottom, brush);
    Fill(dc, r.right - 1, r.top, r.right, r.bottom, brush);
    Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, brush);
}

// The glyph centred on (cx, cy) in a square of side s, in one colour.
void DrawGlyph(HDC dc, CaptionGlyph glyph, int cx, int cy, int s, COLORREF color)
{
    UniqueGdi<HBRUSH> owned(CreateSolidBrush(color));
    HBRUSH brush = owned.get();
    const int thick = std::max(2, s / 5);
    switch (glyph)
    {
    case CaptionGlyph::Minimize: {
        const int w = s * 3 / 5;
        Fill(dc, cx - w / 2 - 1, cy + s / 2 - thick, cx - w / 2 - 1 + w, cy + s / 2, brush);
        break;
    }
    case CaptionGlyph::Maximize: {
        const int w = s - 1;
        Outline(dc, RECT{cx - w / 2, cy - w / 2, cx - w / 2 + w, cy - w / 2 + w}, thick, brush);
        break;
    }
    case CaptionGlyph::Restore: {
        // A window behind another: the one behind up and right, the front one filled with the face.
        const int w = s * 2 / 3, shift = s - w, left = cx - s / 2, top = cy - s / 2;
        Outline(dc, RECT{left + shift, top, left + shift + w, top + w}, thick, brush);
        const RECT front{left, top + shift, left + w, top + shift + w};
        FillRect(dc, &front, GetSysColorBrush(COLOR_BTNFACE));
        Outline(dc, front, thick, brush);
        break;
    }
    case CaptionGlyph::Close: {
        // Two strokes each way, two pixels wide.
        const int d = s * 3 / 4, x = cx - d / 2, y = cy - d / 2;
        UniqueGdi<HPEN> pen(CreatePen(PS_SOLID, 1, color));
        HGDIOBJ old = SelectObject(dc, pen.get());
        for (int dx = 0; dx < 2; ++dx)
        {
            MoveToEx(dc, x + dx, y, nullptr);
            LineTo(dc, x + dx + d + 1, y + d + 1);
            MoveToEx(dc, x + dx, y + d, nullptr);
            LineTo(dc, x + dx + d + 1, y - 1);
        }
        SelectObject(dc, old);
        break;
    }
    }
}

} // namespace

void DrawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, bool pushed, bool disabled)
{
    RECT face = rect;
    DrawEdge(dc, &face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
    const int s = std::min(rect.right - rect.left, rect.bottom - rect.top) - 4;
    if (s < 4)
        return;
    const int shift = pushed ? 1 : 0;
    const int cx = (rect.left + rect.right) / 2 + shift, cy = (rect.top + rect.bottom) / 2 + shift;
    if (disabled)
        DrawGlyph(dc, glyph, cx + 1, cy + 1, s, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawGlyph(dc, glyph, cx, cy, s, GetSysColor(disabled ? COLOR_BTNSHADOW : COLOR_BTNTEXT));
}

void PaintCaptionButtons(HWND window, int pushedHit)
{
    if (!IsWindowVisible(window))
        return;
    const std::vector<CaptionButton> buttons = CaptionButtonsOf(window);
    if (buttons.empty())
        return;
    HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    for (const CaptionButton& b : buttons)
        DrawCaptionButton(dc, b.rect, b.glyph, b.hit == pushedHit, b.disabled);
    ReleaseDC(window, dc);
}

bool TrackCaptionButton(HWND window, int hit)
{
    const std::vector<CaptionButton> buttons = CaptionButtonsOf(window);
    const auto button =
        std::find_if(buttons.begin(), buttons.end(), [&](const CaptionButton& b) { return b.hit == hit; });
    if (button == buttons.end())
        return false;
    if (button->disabled)
        return true; // as the system does: no press, no command

    SetCapture(window);
    PaintCaptionButtons(window, hit);
    bool pressed = true;
    MSG msg{};
    // Mouse messages only, as the system's own press loop takes them; a lost capture ends it.
    for (;;)
    {
        if (GetCapture() != window)
        {
            pressed = false;
            break;
        }
        const BOOL got = GetMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST);
        if (got <= 0)
        {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            pressed = false;
            break;
        }
        if (CallMsgFilterW(&msg, MSGF_MAX))
            continue;
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message != WM_MOUSEMOVE)
            continue;
        const bool over = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y)) == hit;
        if (over != pressed)
            PaintCaptionButtons(window, over ? hit : 0);
        pressed = over;
    }
    if (GetCapture() == window)
        ReleaseCapture();
    PaintCaptionButtons(window, 0);
    if (!pressed)
        return true;

    WPARAM command = SC_CLOSE;
    if (hit == HTMINBUTTON)
        command = IsIconic(window) ? SC_RESTORE : SC_MINIMIZE;
    if (hit == HTMAXBUTTON)
        command = IsZoomed(window) ? SC_RESTORE : SC_MAXIMIZE;
    SendMessageW(window, WM_SYSCOMMAND, command, MAKELPARAM(msg.pt.x, msg.pt.y));
    return true;
}

} // namespace platform
