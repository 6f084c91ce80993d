// The owner-data report list under every view: its window, the display order over the model's
// rows, the selection kept in step with the model's, and the answers to its notifications.
#pragma once
#include "find/DisplayList.h"
#include "i18n/Keys.h"

#include <windows.h>
#include <algorithm>
#include <vector>
#include <commctrl.h>
#include <span>
#include <string>
#include <utility>

class ViewHost;
struct ControlDesign;

// What a list asks of its view, by model row (from 1).
class ListRows
{
  public:
    virtual int RowCount() const = 0;
    virtual std::wstring CellText(int row, int column) const = 0;
    // The colours it is drawn in.
    virtual RowMark RowMarkOf(int row) const = 0;
    // The user selected the row (0: none).
    virtual void RowSelected(int row) = 0;
    // The list asked for the row's first cell: it is coming into view.
    virtual void RowInView(int) {}

  protected:
    ~ListRows() = default;
};

struct ListColumn
{
    keys::KeyText header;
    int width; // at 96 DPI
};

class OwnerDataList
{
  public:
    // Makes the list as design says, after the control after in the tab order, with its columns,
    // shown in order when given.
    HWND Create(ViewHost& host, const ControlDesign& design, std::span<const ListColumn> columns, int after,
                std::span<const int> order = {});
    HWND Window() const { return list_; }
    DisplayList& Display() { return display_; }
    const DisplayList& Display() const { return display_; }
    // Shows the display's rows, the model's selected row selected when it shows; returns the row
    // selected, 0 when the filter hides it.
    int Show(int selected);
    // Widens a column, never narrows it, so that the longest of texts shows whole: a state word
    // of another language, or a note, is longer than the column was made for.
    void GrowColumnToFit(int column, const std::vector<std::wstring>& texts) const;
    // A click on a column header: the next sort order, its arrow shown.
    void SortBy(int column);
    // The notifications of the list, answered from rows; a column click sorts, and is told by
    // returning true in sorted.
    LRESULT OnNotify(NMHDR* header, ListRows& rows, bool& sorted);
    // The list's rows [first, end) in view, with the one partly shown below them.
    std::pair<int, int> RowsInView() const;
    // The rows in view whose command line is among answered (sorted) are painted again.
    template <class Line> void RedrawAnswered(const std::vector<std::wstring>& answered, Line line) const
    {
        const auto [first, end] = RowsInView();
        int low = end, high = -1;
        for (int index = first; index < end; ++index)
            if (std::binary_search(answered.begin(), answered.end(), line(display_.Position(index))))
                low = std::min(low, index), high = index;
        if (high >= 0)
            ListView_RedrawItems(list_, low, high);
    }
    void SetHeaders(std::span<const ListColumn> columns) const;

  private:
    HWND list_ = nullptr;
    int columns_ = 0;
    DisplayList display_;
    bool syncing_ = false; // the selection is being set to the model's, not by the user
};
