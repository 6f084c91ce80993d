// The skin engine: colours and font of a window, its panels and labels, from Title.skn.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>

namespace platform
{

// Title.skn is an INI file:
//   [Skin]   Name=...                         (the section marks the file as a skin)
//   [Window] BackColor=r,g,b  ForeColor=r,g,b  (lists and text boxes)
//   [Panel]  BackColor=r,g,b  TextColor=r,g,b  (window background, labels, buttons)
//   [Font]   Name=...  Size=points
class Skin
{
  public:
    Skin() = default;
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;
    ~Skin();

    // False when the file is missing or is not a skin; the standard look then stays.
    bool LoadSkinFile(const std::wstring& path);
    // From now on the window's frame and controls are drawn with the loaded skin. A skin serves
    // one window, until that window is destroyed.
    void ApplySkin(HWND window);
    // Gives a control made after ApplySkin, and the windows inside it, the skin's font and colours.
    void ApplyToControl(HWND control);
    bool Loaded() const { return loaded_; }

    COLORREF PanelBackColor() const { return panelBack_; }
    COLORREF PanelTextColor() const { return panelText_; }
    int FontPoints() const { return fontPoints_; }

  private:
    static LRESULT CALLBACK SkinProc(HWND, UINT, WPARAM, LPARAM);
    // Gives the window its own procedure back.
    void Detach();
    void ApplyToChildren(HWND window);
    void ApplyToOne(HWND control);
    void MakeFont(HWND window);

    bool loaded_ = false;
    COLORREF panelBack_ = RGB(200, 208, 212), panelText_ = RGB(0, 0, 0);
    COLORREF windowBack_ = RGB(255, 255, 255), windowText_ = RGB(0, 0, 0);
    std::wstring fontName_ = L"Tahoma";
    int fontPoints_ = 8;
    UniqueGdi<HBRUSH> panelBrush_, windowBrush_;
    UniqueGdi<HFONT> font_;
    HWND window_ = nullptr;
    WNDPROC original_ = nullptr;
    bool captionGlyphs_ = false; // the window's caption buttons are drawn here
};

// The message font of the system at a given DPI: the standard look of every control.
HFONT CreateMessageFont(UINT dpi);
// Gives every child window of window the font.
void SetFontOnChildren(HWND window, HFONT font);

} // namespace platform
