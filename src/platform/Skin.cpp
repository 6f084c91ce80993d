// Skin engine: takes over a window's procedure to paint its background and colour its controls.
#include "platform/Skin.h"
#include "platform/CaptionButtons.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Text.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

namespace platform
{

namespace
{

bool ParseColor(const std::wstring& text, COLORREF& color)
{
    int r, g, b;
    wchar_t tail;
    if (swscanf(text.c_str(), L"%d , %d , %d %lc", &r, &g, &b, &tail) != 3)
        return false;
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
        return false;
    color = RGB(r, g, b);
    return true;
}

// The skinned windows, each with its skin. The system's subclassing keeps its data in window
// properties, which under Wine cost a round trip to the server for every message: a list
// sends its window a notification per cell it paints, and that doubled the first paint.
std::vector<Skin*>& Skinned()
{
    static std::vector<Skin*> skins;
    return skins;
}

bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    return EqualsNoCase(cls, name);
}

} // namespace

HFONT CreateMessageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

void SetFontOnChildren(HWND window, HFONT font)
{
    EnumChildWindows(
        window,
        [](HWND child, LPARAM handle) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(handle), IsWindowVisible(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

bool Skin::LoadSkinFile(const std::wstring& path)
{
    loaded_ = false;
    std::string bytes;
    if (ReadWholeFile(path, bytes) != ERROR_SUCCESS)
        return false;
    IniFile ini = IniFile::Parse(bytes);
    if (!ini.HasSection(L"Skin"))
        return false;
    auto color = [&](const wchar_t* section, const wchar_t* key, COLORREF& target) {
        ParseColor(ini.GetString(section, key, L"", 64), target);
    };
    color(L"Panel", L"BackColor", panelBack_);
    color(L"Panel", L"TextColor", panelText_);
    color(L"Window", L"BackColor", windowBack_);
    color(L"Window", L"ForeColor", windowText_);
    std::wstring font = ini.GetString(L"Font", L"Name", L"", LF_FACESIZE);
    if (!font.empty())
        fontName_ = font;
    int points = _wtoi(ini.GetString(L"Font", L"Size", L"", 16).c_str());
    if (points >= 6 && points <= 36)
        fontPoints_ = points;
    panelBrush_.reset(CreateSolidBrush(panelBack_));
    windowBrush_.reset(CreateSolidBrush(windowBack_));
    loaded_ = true;
    return true;
}

void Skin::MakeFont(HWND window)
{
    UINT dpi = GetDpiForWindow(window);
    if (!dpi)
        dpi = 96;
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(fontPoints_, static_cast<int>(dpi), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(lf.lfFaceName, fontName_.c_str(), LF_FACESIZE - 1);
    font_.reset(CreateFontIndirectW(&lf));
}

void Skin::ApplySkin(HWND window)
{
    if (!loaded_ || !window)
        return;
    MakeFont(window);
    if (!window_)
    {
        window_ = window;
        Skinned().push_back(this);
        captionGlyphs_ = CaptionGlyphsNeeded();
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Skin::SkinProc)));
    }
    ApplyToChildren(window);
    InvalidateRect(window, nullptr, TRUE);
    // A window already on the screen shows the system's buttons until its frame is painted again.
    if (captionGlyphs_)
        PaintCaptionButtons(window);
}

void Skin::ApplyToChildren(HWND window)
{
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<Skin*>(param)->ApplyToOne(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

void Skin::ApplyToControl(HWND control)
{
    ApplyToOne(control);
    ApplyToChildren(control);
}

void Skin::ApplyToOne(HWND control)
{
    // A control not on the screen is painted when it shows.
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), IsWindowVisible(control));
    if (IsClass(control, WC_LISTVIEWW))
    {
        ListView_SetBkColor(control, windowBack_);
        ListView_SetTextBkColor(control, windowBack_);
        ListView_SetTextColor(control, windowText_);
    }
}

Skin::~Skin()
{
    Detach();
}

void Skin::Detach()
{
    if (!window_)
        return;
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    std::erase(Skinned(), this);
    window_ = nullptr;
}

LRESULT CALLBACK Skin::SkinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Skin* skin = nullptr;
    for (Skin* s : Skinned())
        if (s->window_ == window)
            skin = s;
    if (!skin)
        return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC original = skin->original_;
    switch (message)
    {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(window, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, skin->panelBrush_.get());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, skin->panelText_);
        SetBkColor(dc, skin->panelBack_);
        return reinterpret_cast<LRESULT>(skin->panelBrush_.get());
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, skin->windowText_);
        SetBkColor(dc, skin->windowBack_);
        return reinterpret_cast<LRESULT>(skin->windowBrush_.get());
    }
    case WM_DPICHANGED: {
        LRESULT r = CallWindowProcW(original, window, message, wParam, lParam);
        skin->MakeFont(window);
        skin->ApplyToChildren(window);
        return r;
    }
    // Where the system's buttons would show letters, ours go over them after each of its paints
    // of the frame, and a press is followed here so that the pushed button looks right too.
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
    case WM_SETICON: {
        LRESULT r = CallWindowProcW(original, window, message, wParam, lParam);
        if (skin->captionGlyphs_)
            PaintCaptionButtons(window);
        return r;
    }
    case WM_NCLBUTTONDOWN:
        if (skin->captionGlyphs_ && TrackCaptionButton(window, static_cast<int>(wParam)))
            return 0;
        break;
    case WM_NCDESTROY:
        // The window's own procedure may end the skin's owner: the skin lets go first.
        skin->Detach();
        break;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

} // namespace platform
