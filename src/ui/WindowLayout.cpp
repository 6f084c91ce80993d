// Scale, controls, placement, skin and centring shared by the main window and the dialogs.
#include "ui/WindowLayout.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Names.h"

void SkinOrStandardFont(platform::Skin& skin, HWND window, platform::UniqueGdi<HFONT>& font)
{
    if (skin.LoadSkinFile(platform::ProgramFolder() + platform::names::SkinFile))
    {
        skin.ApplySkin(window);
        return;
    }
    font.reset(platform::CreateMessageFont(GetDpiForWindow(window)));
    platform::SetFontOnChildren(window, font.get());
}

int ScaleForDpi(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), 96);
}

int UnscaleForDpi(int value, UINT dpi)
{
    return MulDiv(value, 96, static_cast<int>(dpi));
}

namespace
{

// Growth of window's client area over the design, in design units.
SIZE Growth(HWND window, SIZE design, UINT dpi)
{
    RECT client;
    GetClientRect(window, &client);
    return {UnscaleForDpi(client.right, dpi) - design.cx, UnscaleForDpi(client.bottom, dpi) - design.cy};
}

// Where p stands, in pixels at dpi, in a client area grown by growth.
RECT PlaceOf(const ControlPlacement& p, SIZE growth, UINT dpi)
{
    int x = p.x, y = p.y, w = p.width, h = p.height;
    if (p.anchors & Right)
    {
        if (p.anchors & Left)
            w += growth.cx;
        else
            x += growth.cx;
    }
    if (p.anchors & Bottom)
    {
        if (p.anchors & Top)
            h += growth.cy;
        else
            y += growth.cy;
    }
    const int left = ScaleForDpi(x, dpi), top = ScaleForDpi(y, dpi);
    return {left, top, left + ScaleForDpi(w < 0 ? 0 : w, dpi), top + ScaleForDpi(h < 0 ? 0 : h, dpi)};
}

} // namespace

HWND MakeControl(HWND parent, const ControlDesign& design, const DesignPlaces& places)
{
    RECT place{0, 0, 10, 10};
    for (const ControlPlacement& p : places.placements)
        if (p.id == design.id)
        {
            const UINT dpi = GetDpiForWindow(parent);
            place = PlaceOf(p, Growth(parent, places.design, dpi), dpi);
            break;
        }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    return CreateWindowExW(design.exStyle, design.cls, design.text, WS_CHILD | design.style, place.left,
                           place.top, place.right - place.left, place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
}

void PlaceControls(HWND window, const DesignPlaces& places)
{
    const UINT dpi = GetDpiForWindow(window);
    const SIZE growth = Growth(window, places.design, dpi);
    HDWP defer = BeginDeferWindowPos(static_cast<int>(places.placements.size()));
    for (const ControlPlacement& p : places.placements)
    {
        // A control made later is placed when it is made.
        HWND control = GetDlgItem(window, p.id);
        if (!defer || !control)
            continue;
        const RECT place = PlaceOf(p, growth, dpi);
        defer = DeferWindowPos(defer, control, nullptr, place.left, place.top, place.right - place.left,
                               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer)
        EndDeferWindowPos(defer);
}

void CentreOverOwner(HWND window, HWND owner)
{
    RECT ownerRect, rect;
    GetWindowRect(owner, &ownerRect);
    GetWindowRect(window, &rect);
    const int x = ownerRect.left + ((ownerRect.right - ownerRect.left) - (rect.right - rect.left)) / 2;
    const int y = ownerRect.top + ((ownerRect.bottom - ownerRect.top) - (rect.bottom - rect.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateDialogWindow(const wchar_t* windowClass, WNDPROC procedure, const wchar_t* title, int width,
                        int height, HWND owner, void* self)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);

    const UINT dpi = owner ? GetDpiForWindow(owner) : 96;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // The right-to-left rule holds from creation: the children are mirrored with the frame.
    const DWORD exStyle =
        WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | (RightToLeftLanguage() ? WS_EX_LAYOUTRTL : 0);
    RECT frame{0, 0, ScaleForDpi(width, dpi), ScaleForDpi(height, dpi)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
    return CreateWindowExW(exStyle, windowClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                           frame.right - frame.left, frame.bottom - frame.top, owner, nullptr, instance,
                           self);
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
