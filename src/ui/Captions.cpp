// Caption table and its application to the main window: every key is looked up with an empty
// default.
#include "ui/Captions.h"
#include "ui/resource.h"
#include "i18n/Globals.h"
#include "i18n/Lookup.h"
#include "ui/WindowLayout.h"

#include <commctrl.h>

#include <iterator>

namespace
{

// A caption read back to compare; a longer one compares unequal and is set again.
constexpr int MaxCaption = 260;

using enum CaptionTarget;
constexpr Caption Captions[] = {
    {keys::NoteLabel, MainControl, IDC_LBLNOTE},
    {keys::MainTitle, MainTitle, 0},
    {keys::EditMenu, Menu, 0},
    {keys::AutoexecItem, MenuItem, IDM_AUTO},
    {keys::ConfigItem, MenuItem, IDM_CONFIG},
    {keys::RegistryItem, MenuItem, IDM_REGISTRY},
    {keys::MeasureItem, MenuItem, IDM_MEASURE},
    {keys::ProfileMenu, Menu, 1},
    {keys::SaveProfileItem, MenuItem, IDM_SAVEPROF},
    {keys::LoadProfileItem, MenuItem, IDM_LOADPROF},
    {keys::ApplyMenu, Menu, 2},
    {keys::ApplyRestartItem, MenuItem, IDM_APP_REST},
    {keys::ApplyLogOffItem, MenuItem, IDM_APP_LOG},
    {keys::ApplyExitItem, MenuItem, IDM_APP_EXIT},
    {keys::JustApplyItem, MenuItem, IDM_APP_JUST},
    {keys::HelpMenu, Menu, 3},
    {keys::HelpIndexItem, MenuItem, IDM_HELPINDEX},
    {keys::AboutItem, MenuItem, IDM_ABOUT},
    {keys::UpdateItem, MenuItem, IDM_UPDATE},
    {keys::VisitItem, MenuItem, IDM_VISIT},
    {keys::ProgramsLabel, MainControl, IDC_LBLHEADING},
    {keys::RemoveButton, MainControl, IDC_CMDREMOVE},
    {keys::ResetButton, MainControl, IDC_CMDRESET},
    {keys::AddTaskButton, MainControl, IDC_CMDADDTASK},
    {keys::LanguageLabel, MainControl, IDC_LBLLANGUAGE},
    {keys::AboutTitle, AboutTitle, 0},
    {keys::AboutName, AboutControl, IDC_ABOUT_LBLTITLE},
    {keys::AboutVersion, AboutControl, IDC_ABOUT_LBLVERSION},
    {keys::AboutDescription, AboutControl, IDC_ABOUT_LBLDESCRIPTION},
    {keys::AboutDisclaimer, AboutControl, IDC_ABOUT_LBLDISCLAIMER},
    {keys::AboutOk, AboutControl, IDC_ABOUT_CMDOK},
    {keys::AboutSysInfo, AboutControl, IDC_ABOUT_CMDSYSINFO},
    {keys::SysInfoMissing, Message, 0},
    {keys::TaskFieldsMissing, Message, 1},
    {keys::RegistryWarning, Message, 2},
    {keys::TaskNameHeader, ColumnHeader, 0},
    {keys::StatusHeader, ColumnHeader, 1},
    {keys::LoadFromHeader, ColumnHeader, 2},
    {keys::UserHeader, ColumnHeader, 3},
    {keys::WhenHeader, ColumnHeader, 4},
    {keys::LocationHeader, ColumnHeader, 5},
    {keys::EnableButton, EnableCaption, 0},
    {keys::DisableButton, DisableCaption, 0},
};

} // namespace

bool SetMenuText(HMENU menu, UINT item, BOOL byPosition, const std::wstring& text)
{
    wchar_t shown[MaxCaption];
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = shown;
    info.cch = MaxCaption;
    if (GetMenuItemInfoW(menu, item, byPosition, &info) && text == shown)
        return false;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    return SetMenuItemInfoW(menu, item, byPosition, &info);
}

void SetColumnHeader(HWND list, int column, const std::wstring& text)
{
    wchar_t shown[MaxCaption];
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = shown;
    info.cchTextMax = MaxCaption;
    if (ListView_GetColumn(list, column, &info) && text == shown)
        return;
    info.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_SetColumn(list, column, &info);
}

void SetTabText(HWND tabs, int index, const std::wstring& text)
{
    wchar_t shown[MaxCaption];
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = shown;
    item.cchTextMax = MaxCaption;
    if (TabCtrl_GetItem(tabs, index, &item) && text == shown)
        return;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    TabCtrl_SetItem(tabs, index, &item);
}

void SetControlText(HWND control, const std::wstring& text)
{
    if (WindowText(control) != text)
        SetWindowTextW(control, text.c_str());
}

std::span<const Caption> CaptionTable()
{
    return Captions;
}

void ApplyMainWindowCaptions(HWND mainWindow, ButtonCaptions& captions)
{
    HMENU bar = GetMenu(mainWindow);
    bool menuChanged = false;
    for (const Caption& caption : Captions)
    {
        const std::wstring text = CaptionText(caption.key);
        switch (caption.target)
        {
        case MainTitle:
            SetControlText(mainWindow, text);
            break;
        case MainControl:
            SetControlText(GetDlgItem(mainWindow, caption.id), text);
            break;
        case Menu:
            menuChanged |= SetMenuText(bar, static_cast<UINT>(caption.id), TRUE, text);
            break;
        case MenuItem:
            menuChanged |= SetMenuText(bar, static_cast<UINT>(caption.id), FALSE, text);
            break;
        case AboutTitle:
        case AboutControl:
            break;
        case Message:
            MessageTexts[static_cast<size_t>(caption.id)] = text;
            break;
        case ColumnHeader:
            if (HWND list = GetDlgItem(mainWindow, IDC_LISTSTARTUP))
                SetColumnHeader(list, caption.id, text);
            break;
        case EnableCaption:
            captions.enable = text;
            break;
        case DisableCaption:
            captions.disable = text;
            break;
        }
    }
    if (menuChanged)
        DrawMenuBar(mainWindow);
    SetControlText(GetDlgItem(mainWindow, IDC_CMDDISABLE), captions.enable);
}
