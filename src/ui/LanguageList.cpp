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

// The open selector shows every pack, up to ten at a time: a combo box's own height is
// the height of its open list.
void FitDropDown(HWND comboLang)
{
    HWND combo = reinterpret_cast<HWND>(SendMessageW(comboLang, CBEM_GETCOMBOCONTROL, 0, 0));
    if (!combo)
        return;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int fieldHeight =
        static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    RECT rect;
    GetWindowRect(combo, &rect);
    const int height = fieldHeight + 8 + itemHeight * (count < 1 ? 1 : count > 10 ? 10 : count);
    SetWindowPos(combo, nullptr, 0, 0, rect.right - rect.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(count < 1 ? 1 : count > 10 ? 10 : count), 0);
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

void ShowLanguageList(HWND comboLang, const LanguagePacks& packs, HIMAGELIST imageList1, HWND owner)
{
    if (!packs.complete)
        return;
    if (packs.flags)
        SendMessageW(comboLang, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList1));
    for (const std::wstring& name : packs.fileNames)
    {
        std::wstring displayName = PackDisplayName(name);
        const int position = static_cast<int>(SendMessageW(comboLang, CB_GETCOUNT, 0, 0));
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = position;
        item.pszText = displayName.data();
        item.iImage = item.iSelectedImage = position;
        if (SendMessageW(comboLang, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
        {
            FitDropDown(comboLang);
            ShowError(owner, FormatText(LookupText(keys::PackRefused), {name}));
            return;
        }
        if (platform::EqualsNoCase(displayName + L".ini", LanguageFile))
            SendMessageW(comboLang, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
    FitDropDown(comboLang);
}

std::wstring SelectedLanguage(HWND comboLang)
{
    const LRESULT selected = SendMessageW(comboLang, CB_GETCURSEL, 0, 0);
    if (selected < 0)
        return {};
    wchar_t text[MAX_PATH] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = selected;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!SendMessageW(comboLang, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return {};
    return text;
}

void SelectLanguage(HWND comboLang, std::wstring_view name)
{
    const int count = static_cast<int>(SendMessageW(comboLang, CB_GETCOUNT, 0, 0));
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i)
    {
        wchar_t text[MAX_PATH] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        if (SendMessageW(comboLang, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
            platform::EqualsNoCase(name, text))
            found = i;
    }
    SendMessageW(comboLang, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}
