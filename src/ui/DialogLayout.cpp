// Skin, placement and centring shared by the About box and the Add Task dialog.
#include "ui/DialogLayout.h"
#include "ui/LanguageList.h"
#include "platform/Files.h"
#include "platform/Names.h"

void SkinOrStandardFont(platform::Skin& skin, HWND dialog, platform::UniqueGdi<HFONT>& font)
{
    if (skin.LoadSkinFile(platform::ProgramFolder() + platform::names::SkinFile)) {
        skin.ApplySkin(dialog);
        return;
    }
    font.reset(platform::CreateMessageFont(GetDpiForWindow(dialog)));
    platform::SetFontOnChildren(dialog, font.get());
}

void PlaceControls(HWND dialog, std::span<const ControlPlacement> placements)
{
    const int dpi = static_cast<int>(GetDpiForWindow(dialog));
    for (const ControlPlacement& p : placements)
        SetWindowPos(GetDlgItem(dialog, p.id), nullptr, MulDiv(p.x, dpi, 96), MulDiv(p.y, dpi, 96),
                     MulDiv(p.width, dpi, 96), MulDiv(p.height, dpi, 96), SWP_NOZORDER | SWP_NOACTIVATE);
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

HWND CreateDialogWindow(const wchar_t* windowClass, WNDPROC procedure, const wchar_t* title, int width, int height,
                        HWND owner, void* self)
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

    const int dpi = owner ? static_cast<int>(GetDpiForWindow(owner)) : 96;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // The right-to-left rule holds from creation: the children are mirrored with the frame.
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | LanguageLayoutExStyle();
    RECT frame{0, 0, MulDiv(width, dpi, 96), MulDiv(height, dpi, 96)};
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    return CreateWindowExW(exStyle, windowClass, title, style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                           frame.bottom - frame.top, owner, nullptr, instance, self);
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}
