// The list's controls for finding and judging entries: the sort arrow, the colours of rows whose
// file is missing or whose signer is not its publisher, and the row menu with Open location and
// Properties.
#pragma once
#include "find/DisplayList.h"

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <span>
#include <string>

// Shows the arrow of the sort order in the list's header; no arrow when unsorted.
void SetSortArrow(HWND list, SortOrder sort);

// A list's custom draw that draws each row in the colours of its mark(index).
LRESULT DrawMarkedRows(NMLVCUSTOMDRAW* draw, const std::function<RowMark(int index)>& mark);

// Answers an owner-data list that asks for the text of a cell: row is the model's row of the item
// asked for, rows the model's count, columns those the list shows. False, and text not asked,
// when it asks for no text or for a cell the model does not have.
bool AnswerCellText(NMLVDISPINFOW& info, int row, int rows, int columns,
                    const std::function<std::wstring()>& text);
// Answers an owner-data list's type-ahead: the index, from the one it starts at and round to the
// top when it asks so, of the first of count items whose first column (text of the index) begins
// with the typed text, or is it, case aside; -1 when none is.
int AnswerFindItem(const NMLVFINDITEMW& find, int count, const std::function<std::wstring(int index)>& text);

// Before the properties of a row's file: says, in a message box, when the file's verified signer is
// not the publisher its version information names.
void WarnOfSigner(HWND owner, const FileFacts* facts, const FileFactsTable& table);

// Which jumps the selected row allows.
struct JumpChoices
{
    bool openLocation = false;
    bool properties = false;
};
// Greys the Open location and Properties items of a menu that the row does not allow.
void EnableJumpItems(HMENU menu, JumpChoices choices);
// An item of the row menu after the jumps.
struct RowMenuItem
{
    UINT id;
    std::wstring text;
    bool enabled = true;
    bool checked = false;
};
// The row menu at a point on the screen, or under the selected row of list when the keyboard
// asked for it (where is -1), with more items after a separator; the command chosen, 0 for none.
int TrackJumpMenu(HWND owner, HWND list, LPARAM where, JumpChoices choices,
                  std::span<const RowMenuItem> more = {});
