// The services scanner over the platform's listing.
#include "inventory/ServiceScanner.h"

void LoadServices(ServicesState& state)
{
    state.List.Clear();
    platform::ServiceListing listing = platform::ListServices();
    state.ListError = listing.error;
    for (platform::ServiceInfo& info : listing.services)
    {
        ServiceRow row;
        static_cast<platform::ServiceInfo&>(row) = std::move(info);
        row.staged = StateOfStart(row.start);
        state.List.Append(std::move(row));
    }
}
