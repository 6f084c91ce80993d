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

HWND MakeControl(HWND parent, const ControlDesign& design)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    return CreateWindowExW(design.exStyle, design.cls, design.text, WS_CHILD | design.style, 0, 0, 10, 10,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance,
                           nullptr);
}

void PlaceControls(HWND window, std::span<const ControlPlacement> placements, SIZE design)
{
    RECT client;
    GetClientRect(window, &client);
    const UINT dpi = GetDpiForWindow(window);
    // Growth of the client area over the design, in design units.
    const int dx = UnscaleForDpi(client.right, dpi) - design.cx;
    const int dy = UnscaleForDpi(client.bottom, dpi) - design.cy;
    HDWP defer = BeginDeferWindowPos(static_cast<int>(placements.size()));
    for (const ControlPlacement& p : placements)
    {
        int x = p.x, y = p.y, w = p.width, h = p.height;
        if (p.anchors & Right)
        {
            if (p.anchors & Left)
                w += dx;
            else
                x += dx;
        }
        if (p.anchors & Bottom)
        {
            if (p.anchors & Top)
                h += dy;
            else
                y += dy;
        }
        // A control made later is placed when it is made.
        HWND control = GetDlgItem(window, p.id);
        if (defer && control)
            defer = DeferWindowPos(defer, control, nullptr, ScaleForDpi(x, dpi), ScaleForDpi(y, dpi),
                                   ScaleForDpi(w < 0 ? 0 : w, dpi), ScaleForDpi(h < 0 ? 0 : h, dpi),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
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
