// Language selector fill: two passes over one sorted listing of the Lang folder, then the entries.
#include "ui/LanguageList.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Images.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Text.h"
#include "ui/Messages.h"
#include "ui/WindowLayout.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace
{

// Flags are drawn for 96 DPI at this size and scaled with the window.
constexpr int FlagWidth = 24, FlagHeight = 16;

std::wstring InvalidPictureText(const std::wstring& fileName, DWORD error)
{
    if (error == ERROR_INVALID_DATA)
        return FormatText(LookupText(keys::NotABitmap), {fileName});
    return L"\"" + fileName + L"\": " + platform::SystemErrorText(error);
}

// The open selector shows every pack, up to ten at a time.
void FitDropDown(HWND combo)
{
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(std::clamp(count, 1, 10)), 0);
}

void ShowError(HWND owner, const std::wstring& description)
{
    ShowText(owner, description, MB_OK);
}

} // namespace

std::wstring PackDisplayName(std::wstring_view fileName)
{
    size_t dot = platform::FindNoCase(fileName, L".ini");
    return std::wstring(fileName.substr(0, dot));
}

LanguagePacks ReadLanguageList(platform::UniqueImageList& imageList1, UINT dpi, HWND owner)
{
    LanguagePacks packs;
    const std::wstring folder = platform::LangFolder();
    const platform::FolderListing listing = platform::ListFolderFiles(folder);
    if (listing.error != ERROR_SUCCESS)
    {
        ShowError(owner, folder + L": " + platform::SystemErrorText(listing.error));
        return packs;
    }

    const int width = ScaleForDpi(FlagWidth, dpi);
    const int height = ScaleForDpi(FlagHeight, dpi);
    for (const std::wstring& name : listing.names)
    {
        if (!platform::EndsWithNoCase(name, L".bmp"))
            continue;
        DWORD error = ERROR_SUCCESS;
        platform::UniqueGdi<HBITMAP> bitmap(
            platform::LoadBitmapFile(folder + L"\\" + name, width, height, &error));
        if (!bitmap)
        {
            // An error ends the fill at once: no pack is listed, the flags read stay unattached.
            ShowError(owner, InvalidPictureText(name, error));
            return {};
        }
        if (!imageList1)
            imageList1.reset(ImageList_Create(width, height, ILC_COLOR32, 4, 4));
        if (!imageList1 || ImageList_Add(imageList1.get(), bitmap.get(), nullptr) < 0)
        {
            ShowError(owner, L"\"" + name + L"\": " + platform::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
            return {};
        }
        packs.flags = true;
    }

    for (const std::wstring& name : listing.names)
    {
        if (!platform::EndsWithNoCase(name, L".ini"))
            continue;
        LanguagePacksFound = true;
        packs.fileNames.push_back(name);
    }
    packs.complete = true;
    return packs;
}

int LanguageEntryHeight(UINT dpi)
{
    return ScaleForDpi(FlagHeight + 4, dpi);
}

void DrawLanguageEntry(const DRAWITEMSTRUCT& item, HIMAGELIST imageList1)
{
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(item.itemID) < 0)
        return;
    RECT text = item.rcItem;
    text.left += 2;
    const int image = static_cast<int>(item.itemData);
    int width = 0, height = 0;
    if (imageList1 && image >= 0 && ImageList_GetIconSize(imageList1, &width, &height))
    {
        ImageList_Draw(imageList1, image, item.hDC, text.left,
                       (item.rcItem.top + item.rcItem.bottom - height) / 2, ILD_NORMAL);
        text.left += width + 4;
    }
    const LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    std::wstring name(length > 0 ? static_cast<size_t>(length) : 0, L'\0');
    if (length > 0)
        SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(name.data()));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &item.rcItem);
}

void ShowLanguageList(HWND comboLang, const LanguagePacks& packs, HWND owner)
{
    if (!packs.complete)
        return;
    for (const std::wstring& name : packs.fileNames)
    {
        const std::wstring displayName = PackDisplayName(name);
        const LRESULT position =
            SendMessageW(comboLang, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(displayName.c_str()));
        if (position < 0)
        {
            FitDropDown(comboLang);
            ShowError(owner, FormatText(LookupText(keys::PackRefused), {name}));
            return;
        }
        SendMessageW(comboLang, CB_SETITEMDATA, static_cast<WPARAM>(position), packs.flags ? position : -1);
        if (platform::EqualsNoCase(displayName + L".ini", LanguageFile))
            SendMessageW(comboLang, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
    FitDropDown(comboLang);
}

std::wstring SelectedLanguage(HWND comboLang)
{
    const LRESULT selected = SendMessageW(comboLang, CB_GETCURSEL, 0, 0);
    const LRESULT length = selected < 0 ? CB_ERR : SendMessageW(comboLang, CB_GETLBTEXTLEN, selected, 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    SendMessageW(comboLang, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

void SelectLanguage(HWND comboLang, std::wstring_view name)
{
    // The whole text, without regard to case, as the combo box compares; none when no entry has it.
    const std::wstring text(name);
    const LRESULT found = text.empty() ? CB_ERR
                                       : SendMessageW(comboLang, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(comboLang, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}
