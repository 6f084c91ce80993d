// What the program's dialogs share: the skin or the standard font, placing controls from a
// design table, and centring over the owner.
#pragma once
#include "platform/Handles.h"
#include "platform/Skin.h"

#include <windows.h>
#include <span>

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
// Moves window to the middle of owner.
void CentreOverOwner(HWND window, HWND owner);
