// The language selector: the packs of the Lang folder with their flags, the right-to-left rule.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

// The selector fill comes in two halves: reading the Lang folder decides whether captions
// apply, so it runs in the start sequence; showing the entries can wait for the first paint.
struct LanguagePacks
{
    std::vector<std::wstring> fileNames; // the packs, in listing order
    bool flags = false;                  // flags were read and are to be shown beside them
    bool complete = false;               // no error ended the reading
};
// Reads every ".bmp" of the Lang folder into imageList1 in listing order, then lists every
// ".ini", setting LanguagePacksFound for each. Any error ends it with a message box (owner)
// showing its description: no pack is listed then, the flags read stay in imageList1.
LanguagePacks ReadLanguageList(platform::UniqueImageList& imageList1, UINT dpi, HWND owner);
// Fills comboLang (an owner-drawn combo box, which a window makes far faster than an image combo)
// with one entry per pack whose picture index, its item data, is its position, so that packs and
// flags pair by position (-1 without flags), and selects the entry of LanguageFile. An entry the
// selector refuses ends the fill with a message box (owner). After a reading error it does nothing.
void ShowLanguageList(HWND comboLang, const LanguagePacks& packs, HWND owner);
// An entry as the selector shows it: its flag from imageList1, then its name.
void DrawLanguageEntry(const DRAWITEMSTRUCT& item, HIMAGELIST imageList1);
int LanguageEntryHeight(UINT dpi);

// "English.ini" gives "English": the name before the first ".ini", whatever its case.
std::wstring PackDisplayName(std::wstring_view fileName);

// The text of the selector's selected entry; empty when none is selected.
std::wstring SelectedLanguage(HWND comboLang);
// Selects the entry whose text is name, whatever its case; none when no entry has it.
void SelectLanguage(HWND comboLang, std::wstring_view name);
