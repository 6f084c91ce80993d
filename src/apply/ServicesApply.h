// The services apply: brings the Status staged on the services view into effect, start type by
// start type, with the start types it replaces remembered first.
#pragma once
#include "model/ServicesState.h"

#include <windows.h>
#include <string>
#include <vector>

// A service that stayed as it was.
struct ServiceFailure
{
    enum Reason
    {
        SystemError,   // the manager refused; error says why
        StartsNotRead, // the remembered start types could not be read whole: nothing is changed
        NotRemembered  // to be disabled, but its start type could not be remembered first
    };
    std::wstring displayName;
    Reason reason = SystemError;
    DWORD error = ERROR_SUCCESS;
};

struct ServicesApplyResult
{
    int disabled = 0, enabled = 0;
    std::vector<std::wstring> stillRunning; // disabled while they run: they stop only when stopped
    std::vector<ServiceFailure> failures;
    DWORD storeError = ERROR_SUCCESS; // the remembered start types as the apply left them were not saved
    DWORD lockError = ERROR_SUCCESS;  // the machine's apply lock was not taken: nothing was changed
};

// Sets every service whose Status says other than its start type: Disabled, with its start type
// remembered first, or the start type an enable gives it. A running service is never stopped.
// A service the manager refuses to change keeps its start type, and its row says so. A start
// type is forgotten once its service is enabled, by this program or another.
// Holds the machine's apply lock throughout, as the startup apply does, waiting up to lockWait
// milliseconds, and reads the remembered start types again under it.
ServicesApplyResult ApplyServices(ServicesState& state, DWORD lockWait = 10000);

// The status line of a services apply, in the current language.
std::wstring ServicesApplyText(const ServicesApplyResult& result);
