// The language selector: the packs of the Lang folder with their flags, the right-to-left rule.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>
#include <string_view>

// Fills comboLang (a ComboBoxEx) from the Lang folder: first every ".bmp" into imageList1 in
// listing order, then one entry per ".ini" whose picture index is its position, so that packs
// and flags pair by position. Sets LanguagePacksFound for each pack and selects the entry of
// LanguageFile. Any error ends the fill with a message box (owner) showing its description;
// what was added before it stays.
void BuildLanguageList(HWND comboLang, platform::UniqueImageList& imageList1, UINT dpi, HWND owner);

// "English.ini" gives "English": the name before the first ".ini", whatever its case.
std::wstring PackDisplayName(std::wstring_view fileName);

// The text of the selector's selected entry; empty when none is selected.
std::wstring SelectedLanguage(HWND comboLang);
// Selects the entry whose text is name, whatever its case; none when no entry has it.
void SelectLanguage(HWND comboLang, std::wstring_view name);

// Dialogs are laid out right to left exactly when the chosen pack is "Arabic.ini".
bool RightToLeftLanguage();
// The extended window styles that lay a dialog out by that rule.
DWORD LanguageLayoutExStyle();
