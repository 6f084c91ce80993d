// What the services view keeps: its rows, the start types this program remembers of the services
// it disabled, and the Disable button's caption on that view.
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
    DWORD StoreError = ERROR_SUCCESS;
    size_t StoreUnreadable = 0; // lines that could not be read
    bool StoreReadWhole() const { return StoreError == ERROR_SUCCESS && StoreUnreadable == 0; }

    std::wstring DisableButtonCaption = L"&Disable";
};
