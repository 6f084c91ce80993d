// What the program's three windows share: the DPI scale, making controls from a design table,
// placing them from a table of places and anchors, the skin or the standard font, the dialogs'
// frame, and centring over the owner.
#pragma once
#include "platform/Handles.h"
#include "platform/Skin.h"

#include <windows.h>
#include <span>
#include <string>

// A length of the design, made at 96 DPI, at dpi; and back.
int ScaleForDpi(int value, UINT dpi);
int UnscaleForDpi(int value, UINT dpi);

// A control of a window's design: WS_CHILD is added to style, WS_VISIBLE is the design's choice.
struct ControlDesign
{
    int id;
    const wchar_t* cls;
    const wchar_t* text;
    DWORD style;
    DWORD exStyle = 0;
};

// A side of the client area a control keeps its distance to as the window grows.
enum Anchor : unsigned
{
    Left = 1,
    Top = 2,
    Right = 4,
    Bottom = 8
};
// A control's place at 96 DPI in a client area of the design's size.
struct ControlPlacement
{
    int id;
    int x, y, width, height;
    unsigned anchors = Left | Top;
};
// A window's places: its controls' placements and the client size they were designed for.
struct DesignPlaces
{
    std::span<const ControlPlacement> placements;
    SIZE design;
};
// Makes the control as a child of parent, where places put it in parent's client area as it is
// now: a control made in its place is not moved, laid out and painted a second time.
HWND MakeControl(HWND parent, const ControlDesign& design, const DesignPlaces& places);
// Places the controls of window that exist at its DPI, in a client area that has grown or shrunk
// from the design's width and height.
void PlaceControls(HWND window, const DesignPlaces& places);

// Loads Title.skn into skin and applies it to window; without a skin, every control takes the
// system's message font, kept in font.
void SkinOrStandardFont(platform::Skin& skin, HWND window, platform::UniqueGdi<HFONT>& font);
// Registers windowClass and creates the dialog's window, owned by owner, with a client area of
// width x height at 96 DPI scaled to the owner's DPI, laid out right to left when the language
// asks for it. self reaches the procedure at WM_NCCREATE.
HWND CreateDialogWindow(const wchar_t* windowClass, WNDPROC procedure, const wchar_t* title, int width,
                        int height, HWND owner, void* self);
// The text of a window or control.
std::wstring WindowText(HWND window);
// Moves window to the middle of owner.
void CentreOverOwner(HWND window, HWND owner);
