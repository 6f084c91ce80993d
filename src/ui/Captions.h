// The captions of a language pack applied to the main window and the About box.
#pragma once
#include "i18n/Keys.h"

#include <windows.h>
#include <span>
#include <string>

enum class CaptionTarget
{
    MainTitle,    // the main window's title
    MainControl,  // a label or button of the main window, by id
    Menu,         // a menu of the menu bar, by position
    MenuItem,     // a menu item, by command id
    AboutTitle,   // the About box's title
    AboutControl, // a label or button of the About box, by id
    Message,      // MessageTexts, by index
    ColumnHeader, // a column of the list, by index
    EnableCaption,
    DisableCaption,
};

struct Caption
{
    keys::KeyText key;
    CaptionTarget target;
    int id;
};

// Every target in the order the captions are set.
std::span<const Caption> CaptionTable();

// The Disable button's two captions, which it shows as the selected row asks.
struct ButtonCaptions
{
    std::wstring enable = keys::EnableButton.text, disable = keys::DisableButton.text;
};

// Sets every target of the table but the About box's to its key's text from the chosen pack, a
// missing key giving an empty text. Last, the Disable button takes the Enable caption until the
// selected row says otherwise. The About box takes its targets itself.
void ApplyMainWindowCaptions(HWND mainWindow, ButtonCaptions& captions);

// Each sets a text only where it differs: an unchanged one costs no layout or repaint. The
// menu's answer says whether the bar must be drawn again.
bool SetMenuText(HMENU menu, UINT item, BOOL byPosition, const std::wstring& text);
void SetColumnHeader(HWND list, int column, const std::wstring& text);
void SetTabText(HWND tabs, int index, const std::wstring& text);
void SetControlText(HWND control, const std::wstring& text);
