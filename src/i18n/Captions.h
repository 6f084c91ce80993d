// The captions of a language pack applied to the main window and the About box.
#pragma once
#include "app/MainState.h"

#include <windows.h>
#include <span>
#include <string>

enum class CaptionTarget {
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

struct Caption {
    const wchar_t* key;
    CaptionTarget target;
    int id;
};

// Every target in the order the captions are set.
std::span<const Caption> CaptionTable();

class frmAbout;
// Sets the About box's targets of the table from the chosen pack.
void ApplyAboutCaptions(frmAbout& about);

// Sets every target of the table to its key's text from the chosen pack, a missing key giving
// an empty text; the About box is created hidden for its targets when it does not exist. Last,
// the Disable button takes EnableCaption until the selected row says otherwise.
void ApplyCaptions(HWND mainWindow, MainState& state);
// The same but for the About box, whose load applies its own captions when it is created.
void ApplyMainWindowCaptions(HWND mainWindow, MainState& state);
// Sets the labels and buttons of the main window that exist, for controls created later.
void ApplyControlCaptions(HWND mainWindow);

void SetMenuText(HMENU menu, UINT item, BOOL byPosition, const std::wstring& text);
void SetColumnHeader(HWND list, int column, const std::wstring& text);
