// What the main window owns apart from its controls: the list, the baseline records, the
// source names, the Disable button's captions, the button state and the registry component.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "platform/Registry.h"

#include <string>
#include <vector>

struct MainState {
    StartupList List;
    std::vector<EntryRecord> BaselineEntries;
    short BaselineCount = 0;
    SourceNameTable SourceNames;
    std::wstring EnableCaption, DisableCaption;
    platform::Reg Reg1;

    // What the store file holds, in this language's words, as last read or written.
    std::vector<EntryRecord> StoredEntries;
    // Why the store could not be read whole at the last fill; while set, nothing rewrites it.
    struct {
        DWORD error = ERROR_SUCCESS;
        bool incomplete = false; // it ended inside a record
    } StoreProblem;
    bool StoreReadWhole() const { return StoreProblem.error == ERROR_SUCCESS && !StoreProblem.incomplete; }

    // The file last chosen in the profile dialog.
    std::wstring ProfileFileName;

    // Shown by the Disable and Remove buttons.
    std::wstring DisableButtonCaption = L"&Disable";
    bool RemoveButtonEnabled = true;
};
