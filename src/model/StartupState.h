// The startup entries below the window: the list, the baseline the next apply compares it with,
// the store as this program last read or wrote it, and what the buttons offer for the selected row.
#pragma once
#include "model/StartupList.h"

#include <windows.h>
#include <array>
#include <string>
#include <vector>

// The disabled-entry store as this program last read or wrote it.
struct StoreBook
{
    // What its files hold.
    std::vector<EntryRecord> Entries;
    // Each file's bytes, the user's then the one all users share (none when it was not there):
    // what another program wrote to the store since then is told from them.
    std::array<std::string, 2> AsRead;
    // Why the store could not be read whole at the last fill; while set, nothing rewrites it.
    struct
    {
        DWORD error = ERROR_SUCCESS;
        bool incomplete = false; // it ended inside a record
        size_t unreadable = 0;   // records that could not be read
        std::wstring path;       // the store file it is about
    } Problem;
    bool ReadWhole() const
    {
        return Problem.error == ERROR_SUCCESS && !Problem.incomplete && Problem.unreadable == 0;
    }
    // An older build had written texts of the store over several lines: read back realigned, and
    // the file as it was kept beside it.
    bool Realigned = false;
};

struct StartupState
{
    StartupList List;
    // One record per row of the list as the last fill or apply left it; row k pairs with record k - 1.
    std::vector<EntryRecord> BaselineEntries;
    StoreBook Store;
    RowButtons Buttons;
};
