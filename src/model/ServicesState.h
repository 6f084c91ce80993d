// The services below the window: their rows, the start types this program remembers of the
// services it disabled, and what the buttons offer for the selected one.
#pragma once
#include "model/ServiceList.h"

#include <string>
#include <vector>

// How a service started before this program disabled it, by its key name.
struct RememberedStart
{
    std::wstring name;
    platform::ServiceStart start;
    bool operator==(const RememberedStart&) const = default;
};

struct ServicesState
{
    ServiceList List;
    bool Loaded = false;                     // filled once, when first needed
    DWORD ListError = ERROR_SUCCESS;         // the manager could not be asked
    std::vector<RememberedStart> Remembered; // as last read or written
    // Why the file of remembered start types could not be read whole; while so, nothing rewrites
    // it and no service is changed.
    DWORD StartsError = ERROR_SUCCESS;
    size_t StartsUnreadable = 0; // lines that could not be read
    bool StartsReadWhole() const { return StartsError == ERROR_SUCCESS && StartsUnreadable == 0; }

    RowButtons Buttons;
};
