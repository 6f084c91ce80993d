// Skin, placement and centring shared by the About box and the Add Task dialog.
#include "dialogs/DialogLayout.h"
#include "platform/Files.h"
#include "platform/Names.h"

void SkinOrStandardFont(platform::Skin& skin, HWND dialog, platform::UniqueGdi<HFONT>& font)
{
    if (skin.LoadSkinFile(platform::ProgramFolder() + platform::names::SkinFile)) {
        skin.ApplySkin(dialog);
        return;
    }
    font.reset(platform::CreateMessageFont(GetDpiForWindow(dialog)));
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM handle) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(handle), TRUE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font.get()));
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
