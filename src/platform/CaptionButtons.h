// The minimise, maximise and close buttons of a classic title bar, drawn with GDI lines for
// systems whose caption code needs a symbol font they lack.
#pragma once
#include <windows.h>

#include <vector>

namespace platform
{

// True when a font family of this name is installed; a name the font mapper only substitutes
// (with some other face) does not count.
bool FontFamilyInstalled(const wchar_t* family);

// The system draws its caption buttons with the Marlett font; without it they show as letters.
bool CaptionGlyphsNeeded();

enum class CaptionGlyph
{
    Minimize,
    Maximize,
    Restore,
    Close
};

struct CaptionButton
{
    int hit;   // HTMINBUTTON, HTMAXBUTTON or HTCLOSE
    RECT rect; // window coordinates, where the classic frame puts the button
    CaptionGlyph glyph;
    bool disabled;
};

// The buttons the classic frame shows for the window's styles; none for a window without a
// system menu, a minimised window or a tool window.
std::vector<CaptionButton> CaptionButtonsOf(HWND window);

// One button: its raised (or, pushed, sunken) face and its glyph; a disabled glyph is etched.
void DrawCaptionButton(HDC dc, const RECT& rect, CaptionGlyph glyph, bool pushed, bool disabled);

// Draws the window's buttons over what the system drew; pushedHit is the one held down, or 0.
void PaintCaptionButtons(HWND window, int pushedHit = 0);

// The press of a button, as the system follows it: pushed while the mouse stays on it, its
// command sent when the button is let go there. False when hit names no button of ours.
bool TrackCaptionButton(HWND window, int hit);

} // namespace platform
