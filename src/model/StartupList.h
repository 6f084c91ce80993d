// The startup list: rows of six texts addressed from 1, the selected row, and EntryRecord.
#pragma once
#include <array>
#include <string>
#include <vector>

enum Column
{
    TaskName = 0,
    Status,
    LoadFrom,
    User,
    When,
    Location,
    ColumnCount
};

// One row: Task Name, Status, Load From, User, When?, Location.
struct StartupEntry : std::array<std::wstring, ColumnCount>
{
    // Still in its source, but switched off by Windows' own switch (by its startup settings, or by
    // an apply of this program where Windows honours the switch): shown with the Disabled word and
    // never held in the store; enabling it switches it on again. Known only to the scan that saw
    // it and the apply that switched it: files keep the six texts alone, and rows compare by their
    // texts.
    bool disabledByWindows = false;
    // Back in its source, written there again by its program while the store held it taken out:
    // the stored record waits for the user's next apply of this row, which replaces or drops it.
    bool alsoStored = false;
    // An entry of the user's own places that the store all users share holds, as older builds
    // kept them all there: it stays in that store, whose user it is no file says, until it leaves.
    bool sharedStore = false;
};
// A row held outside the list, in the same column order.
using EntryRecord = StartupEntry;

class StartupList
{
  public:
    int Count() const { return static_cast<int>(rows_.size()); }
    // Appends a row whose other columns are empty; returns its position.
    int Append(std::wstring taskName);
    void AppendRow(const StartupEntry& row);
    void SetSubItem(int position, int column, std::wstring text);
    void SetDisabledByWindows(int position, bool off);
    void SetAlsoStored(int position, bool stored);
    const StartupEntry& Row(int position) const { return rows_[static_cast<size_t>(position - 1)]; }
    const std::wstring& Text(int position, int column) const
    {
        return Row(position)[static_cast<size_t>(column)];
    }
    bool Remove(int position);
    // Removes every row whose Status is status and, in the same pass, the record at its place in
    // records, which holds one record per row.
    void RemoveRowsWithStatus(const std::wstring& status, std::vector<StartupEntry>& records);
    void Clear();

    // 0 when no row is selected.
    int Selected() const { return selected_; }
    void Select(int position);

    // A cell as the list shows it: the Task Name without the blanks a registry value's exact
    // name may have around it; the Status of an entry Windows switched off saying so where its
    // start ignores the switch, since the entry starts all the same.
    std::wstring Shown(int position, int column) const;

  private:
    std::vector<StartupEntry> rows_;
    int selected_ = 0;
};
