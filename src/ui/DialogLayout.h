// What the program's dialogs share: the skin or the standard font, placing controls from a
// design table, and centring over the owner.
#pragma once
#include "platform/Handles.h"
#include "platform/Skin.h"

#include <windows.h>
#include <span>
#include <string>

// A control's place at 96 DPI.
struct ControlPlacement {
    int id;
    int x, y, width, height;
};

// Loads Title.skn into skin and applies it to dialog; without a skin, every control takes the
// system's message font, kept in font.
void SkinOrStandardFont(platform::Skin& skin, HWND dialog, platform::UniqueGdi<HFONT>& font);
// Places the controls of dialog at the DPI of the dialog.
void PlaceControls(HWND dialog, std::span<const ControlPlacement> placements);
// Registers windowClass and creates the dialog's window, owned by owner, with a client area of
// width x height at 96 DPI scaled to the owner's DPI, laid out right to left when the language
// asks for it. self reaches the procedure at WM_NCCREATE.
HWND CreateDialogWindow(const wchar_t* windowClass, WNDPROC procedure, const wchar_t* title, int width, int height,
                        HWND owner, void* self);
// The text of a window or control.
std::wstring WindowText(HWND window);
// Moves window to the middle of owner.
void CentreOverOwner(HWND window, HWND owner);
