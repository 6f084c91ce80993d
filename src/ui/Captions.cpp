// Caption table and its application to the main window: every key is looked up with an empty
// default.
#include "ui/Captions.h"
#include "ui/resource.h"
#include "i18n/Globals.h"
#include "i18n/Lookup.h"

#include <commctrl.h>

#include <iterator>

namespace {

using enum CaptionTarget;
constexpr Caption Captions[] = {
    {L"108", MainControl, IDC_LBLNOTE},
    {L"109", MainTitle, 0},
    {L"110", Menu, 0},
    {L"111", MenuItem, IDM_AUTO},
    {L"112", MenuItem, IDM_CONFIG},
    {L"113", MenuItem, IDM_REGISTRY},
    {L"120", Menu, 1},
    {L"121", MenuItem, IDM_SAVEPROF},
    {L"122", MenuItem, IDM_LOADPROF},
    {L"130", Menu, 2},
    {L"131", MenuItem, IDM_APP_REST},
    {L"132", MenuItem, IDM_APP_LOG},
    {L"133", MenuItem, IDM_APP_EXIT},
    {L"134", MenuItem, IDM_APP_JUST},
    {L"140", Menu, 3},
    {L"141", MenuItem, IDM_HELPINDEX},
    {L"142", MenuItem, IDM_ABOUT},
    {L"143", MenuItem, IDM_UPDATE},
    {L"144", MenuItem, IDM_VISIT},
    {L"101", MainControl, IDC_LABEL1},
    {L"103", MainControl, IDC_CMDREMOVE},
    {L"104", MainControl, IDC_CMDRESET},
    {L"105", MainControl, IDC_CMDADDTASK},
    {L"106", MainControl, IDC_LABEL3},
    {L"301", AboutTitle, 0},
    {L"302", AboutControl, IDC_ABOUT_LBLTITLE},
    {L"303", AboutControl, IDC_ABOUT_LBLVERSION},
    {L"304", AboutControl, IDC_ABOUT_LBLDESCRIPTION},
    {L"305", AboutControl, IDC_ABOUT_LBLDISCLAIMER},
    {L"306", AboutControl, IDC_ABOUT_CMDOK},
    {L"307", AboutControl, IDC_ABOUT_CMDSYSINFO},
    {L"410", Message, 0},
    {L"411", Message, 1},
    {L"412", Message, 2},
    {L"151", ColumnHeader, 0},
    {L"152", ColumnHeader, 1},
    {L"153", ColumnHeader, 2},
    {L"154", ColumnHeader, 3},
    {L"155", ColumnHeader, 4},
    {L"156", ColumnHeader, 5},
    {L"107", EnableCaption, 0},
    {L"102", DisableCaption, 0},
};

} // namespace

void SetMenuText(HMENU menu, UINT item, BOOL byPosition, const std::wstring& text)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, item, byPosition, &info);
}

void SetColumnHeader(HWND list, int column, const std::wstring& text)
{
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_SetColumn(list, column, &info);
}

std::span<const Caption> CaptionTable()
{
    return Captions;
}

void ApplyControlCaptions(HWND mainWindow)
{
    for (const Caption& caption : Captions)
        if (caption.target == MainControl) SetDlgItemTextW(mainWindow, caption.id, SetCaptionfromINI(caption.key).c_str());
}

void ApplyMainWindowCaptions(HWND mainWindow, MainState& state)
{
    HMENU bar = GetMenu(mainWindow);
    for (const Caption& caption : Captions) {
        const std::wstring text = SetCaptionfromINI(caption.key);
        switch (caption.target) {
        case MainTitle:
            SetWindowTextW(mainWindow, text.c_str());
            break;
        case MainControl:
            SetDlgItemTextW(mainWindow, caption.id, text.c_str());
            break;
        case Menu:
            SetMenuText(bar, static_cast<UINT>(caption.id), TRUE, text);
            break;
        case MenuItem:
            SetMenuText(bar, static_cast<UINT>(caption.id), FALSE, text);
            break;
        case AboutTitle:
        case AboutControl:
            break;
        case Message:
            MessageTexts[static_cast<size_t>(caption.id)] = text;
            break;
        case ColumnHeader:
            SetColumnHeader(GetDlgItem(mainWindow, IDC_LISTVIEW1), caption.id, text);
            break;
        case EnableCaption:
            state.EnableCaption = text;
            break;
        case DisableCaption:
            state.DisableCaption = text;
            break;
        }
    }
    DrawMenuBar(mainWindow);
    state.DisableButtonCaption = state.EnableCaption;
    SetDlgItemTextW(mainWindow, IDC_CMDDISABLE, state.DisableButtonCaption.c_str());
}
