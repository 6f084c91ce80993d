// The owner-data list of a view: made once, shown from the display order, answering the list.
#include "ui/OwnerDataList.h"
#include "i18n/Lookup.h"
#include "ui/Captions.h"
#include "ui/EntryView.h"
#include "ui/FindControls.h"
#include "ui/WindowLayout.h"

HWND OwnerDataList::Create(ViewHost& host, const ControlDesign& design, std::span<const ListColumn> columns,
                           int after, std::span<const int> order)
{
    list_ = host.MakeControl(design, after);
    columns_ = static_cast<int>(columns.size());
    // Double buffered from the start: the style set later repaints the whole list and its header.
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER);
    const UINT dpi = GetDpiForWindow(host.Handle());
    for (size_t c = 0; c < columns.size(); ++c)
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns[c].header.text);
        column.cx = ScaleForDpi(columns[c].width, dpi);
        column.iSubItem = static_cast<int>(c);
        ListView_InsertColumn(list_, static_cast<int>(c), &column);
    }
    if (!order.empty())
        ListView_SetColumnOrderArray(list_, static_cast<int>(order.size()), const_cast<int*>(order.data()));
    return list_;
}

int OwnerDataList::Show(int selected)
{
    // A row the filter hides is not selected: the buttons would act on a row out of sight.
    const int index = display_.IndexOf(selected);
    syncing_ = true;
    ListView_SetItemCountEx(list_, display_.Count(), LVSICF_NOSCROLL);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0)
        ListView_SetItemState(list_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    InvalidateRect(list_, nullptr, FALSE);
    syncing_ = false;
    return index >= 0 ? selected : 0;
}

void OwnerDataList::GrowColumnToFit(int column, const std::vector<std::wstring>& texts) const
{
    int widest = 0;
    for (const std::wstring& text : texts)
        widest = std::max(widest, ListView_GetStringWidth(list_, text.c_str()));
    // The list's own margins on both sides of a cell's text.
    const int needed = widest + ScaleForDpi(14, GetDpiForWindow(list_));
    if (widest && needed > ListView_GetColumnWidth(list_, column))
        ListView_SetColumnWidth(list_, column, needed);
}

void OwnerDataList::SortBy(int column)
{
    display_.sort = NextSortOrder(display_.sort, column);
    SetSortArrow(list_, display_.sort);
}

LRESULT OwnerDataList::OnNotify(NMHDR* header, ListRows& rows, bool& sorted)
{
    sorted = false;
    switch (header->code)
    {
    case LVN_GETDISPINFOW: {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(header);
        const int row = display_.Position(info.item.iItem);
        if (AnswerCellText(info, row, rows.RowCount(), columns_,
                           [&] { return rows.CellText(row, info.item.iSubItem); }) &&
            info.item.iSubItem == 0)
            rows.RowInView(row);
        return 0;
    }
    case LVN_ODFINDITEMW:
        return AnswerFindItem(*reinterpret_cast<NMLVFINDITEMW*>(header), display_.Count(),
                              [&](int index) { return rows.CellText(display_.Position(index), 0); });
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        sorted = true;
        return 0;
    case NM_CUSTOMDRAW:
        return DrawMarkedRows(reinterpret_cast<NMLVCUSTOMDRAW*>(header), [&](int index) {
            const int row = display_.Position(index);
            return row ? rows.RowMarkOf(row) : RowMark::Plain;
        });
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (syncing_ || !(change->uChanged & LVIF_STATE) ||
            ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) == 0)
            return 0;
        rows.RowSelected(display_.Position(ListView_GetNextItem(list_, -1, LVNI_SELECTED)));
        return 0;
    }
    }
    return 0;
}

std::pair<int, int> OwnerDataList::RowsInView() const
{
    const int top = ListView_GetTopIndex(list_);
    return {top, std::min(display_.Count(), top + ListView_GetCountPerPage(list_) + 1)};
}

void OwnerDataList::SetHeaders(std::span<const ListColumn> columns) const
{
    for (size_t c = 0; c < columns.size(); ++c)
        SetColumnHeader(list_, static_cast<int>(c), LookupText(columns[c].header));
}
