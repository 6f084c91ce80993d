// What the main window owns apart from its controls: the list, the baseline records, the
// source names, the Disable button's captions, the button state and the registry component.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "platform/Registry.h"

#include <array>
#include <string>
#include <vector>

struct MainState
{
    StartupList List;
    // One record per row of the list as the last fill or apply left it; row k pairs with record k - 1.
    std::vector<EntryRecord> BaselineEntries;
    SourceNameTable SourceNames;
    std::wstring EnableCaption, DisableCaption;
    platform::Reg Reg1;

    // What the store files hold, as last read or written.
    std::vector<EntryRecord> StoredEntries;
    // Each store file's bytes, the user's then the one all users share, as this program last read
    // or wrote them (none when it was not there): what another program wrote to the store since
    // then is told from them.
    std::array<std::string, 2> StoreAsRead;
    // Why the store could not be read whole at the last fill; while set, nothing rewrites it.
    struct
    {
        DWORD error = ERROR_SUCCESS;
        bool incomplete = false; // it ended inside a record
        size_t unreadable = 0;   // records that could not be read
        std::wstring path;       // the store file it is about
    } StoreProblem;
    bool StoreReadWhole() const
    {
        return StoreProblem.error == ERROR_SUCCESS && !StoreProblem.incomplete &&
               StoreProblem.unreadable == 0;
    }
    // An older build had written texts of the store over several lines: read back realigned, and
    // the file as it was kept beside it.
    bool StoreRealigned = false;

    // The file last chosen in the profile dialog.
    std::wstring ProfileFileName;

    // Shown by the Disable and Remove buttons.
    std::wstring DisableButtonCaption = L"&Disable";
    bool RemoveButtonEnabled = true;
};
