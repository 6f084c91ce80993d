// Sort arrow, missing-file colours and the row menu.
#include "ui/FindControls.h"
#include "ui/resource.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Handles.h"
#include "platform/Text.h"
#include "ui/Messages.h"

#include <windowsx.h>

namespace
{

// Dark red on pale rose: readable, and unlike the selection and the skins' window colours; a signer
// who is not the publisher in dark amber on pale yellow, less alarming than a file that is gone.
constexpr COLORREF MissingText = RGB(150, 0, 0);
constexpr COLORREF MissingBack = RGB(255, 222, 222);
constexpr COLORREF DiffersText = RGB(120, 72, 0);
constexpr COLORREF DiffersBack = RGB(255, 241, 196);

} // namespace

void SetSortArrow(HWND list, SortOrder sort)
{
    HWND header = ListView_GetHeader(list);
    for (int column = 0; column < Header_GetItemCount(header); ++column)
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, column, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == sort.column)
            item.fmt |= sort.descending ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(header, column, &item);
    }
}

LRESULT DrawMarkedRows(NMLVCUSTOMDRAW* draw, const std::function<RowMark(int index)>& mark)
{
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    switch (mark(static_cast<int>(draw->nmcd.dwItemSpec)))
    {
    case RowMark::Plain:
        return CDRF_DODEFAULT;
    case RowMark::Missing:
        draw->clrText = MissingText;
        draw->clrTextBk = MissingBack;
        break;
    case RowMark::SignerDiffers:
        draw->clrText = DiffersText;
        draw->clrTextBk = DiffersBack;
        break;
    }
    return CDRF_NEWFONT;
}

bool AnswerCellText(NMLVDISPINFOW& info, int row, int rows, int columns,
                    const std::function<std::wstring()>& text)
{
    if (!(info.item.mask & LVIF_TEXT) || row < 1 || row > rows || info.item.iSubItem < 0 ||
        info.item.iSubItem >= columns || info.item.cchTextMax <= 0)
        return false;
    lstrcpynW(info.item.pszText, text().c_str(), info.item.cchTextMax);
    return true;
}

int AnswerFindItem(const NMLVFINDITEMW& find, int count, const std::function<std::wstring(int index)>& text)
{
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || count <= 0)
        return -1;
    const std::wstring_view typed = find.lvfi.psz;
    const int start = find.iStart >= 0 && find.iStart < count ? find.iStart : 0;
    const int last = find.lvfi.flags & LVFI_WRAP ? start + count : count;
    for (int i = start; i < last; ++i)
    {
        const std::wstring shown = text(i % count);
        if (find.lvfi.flags & LVFI_PARTIAL
                ? platform::EqualsNoCase(std::wstring_view(shown).substr(0, typed.size()), typed)
                : platform::EqualsNoCase(shown, typed))
            return i % count;
    }
    return -1;
}

void WarnOfSigner(HWND owner, const FileFacts* facts, const FileFactsTable& table)
{
    if (SignerDiffers(facts, table))
        ShowMessage(owner, keys::SignerDiffers, {SignerText(facts, table), facts->publisher},
                    MB_OK | MB_ICONWARNING);
}

void EnableJumpItems(HMENU menu, JumpChoices choices)
{
    EnableMenuItem(menu, IDM_OPENLOCATION, MF_BYCOMMAND | (choices.openLocation ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_PROPERTIES, MF_BYCOMMAND | (choices.properties ? MF_ENABLED : MF_GRAYED));
}

int TrackJumpMenu(HWND owner, HWND list, LPARAM where, JumpChoices choices, std::span<const RowMenuItem> more)
{
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (where == -1)
    {
        RECT row{};
        ListView_GetItemRect(list, ListView_GetNextItem(list, -1, LVNI_SELECTED), &row, LVIR_LABEL);
        at = {row.left, row.bottom};
        ClientToScreen(list, &at);
    }
    const platform::UniqueMenu menu(CreatePopupMenu());
    if (!menu)
        return 0;
    AppendMenuW(menu.get(), MF_STRING, IDM_OPENLOCATION, LookupText(keys::OpenLocation).c_str());
    AppendMenuW(menu.get(), MF_STRING, IDM_PROPERTIES, LookupText(keys::Properties).c_str());
    EnableJumpItems(menu.get(), choices);
    if (!more.empty())
        AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    for (const RowMenuItem& item : more)
        AppendMenuW(menu.get(),
                    MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED) |
                        (item.checked ? MF_CHECKED : MF_UNCHECKED),
                    item.id, item.text.c_str());
    return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
}
