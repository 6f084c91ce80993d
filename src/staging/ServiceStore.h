// The file of remembered start types, SaveServ.pro beside the store: how each service this
// program disabled started before, so that an enable gives exactly that back.
#pragma once
#include "model/ServicesState.h"

#include <windows.h>
#include <string>
#include <vector>

std::wstring ServiceStartsPath();

struct RememberedStarts
{
    std::vector<RememberedStart> entries;
    DWORD error = ERROR_SUCCESS; // the file exists but could not be read
    size_t unreadable = 0;       // lines that are no start type of this format
};
// One line per service, UTF-8 after a byte-order mark: the start type's number, 1 or 0 for the
// delayed flag, and the key name, escaped as the entry files escape their texts. No file is no
// entry.
RememberedStarts ReadRememberedStarts();
// Writes them whole or not at all, or deletes the file when there are none. Returns the system error.
DWORD WriteRememberedStarts(const std::vector<RememberedStart>& entries);

// Why the remembered start types could not be read whole, as the status line words it.
std::wstring StartsProblemText(const ServicesState& state);
// Reads the file into state: Remembered, and StartsError and StartsUnreadable when not read whole.
void LoadRememberedStarts(ServicesState& state);
// The entry of the service of that key name, without regard to case; null when none.
const RememberedStart* RememberedFor(const std::vector<RememberedStart>& entries, const std::wstring& name);
// Keeps start as what the service of that name had, in place of anything kept before.
void Remember(std::vector<RememberedStart>& entries, const std::wstring& name, platform::ServiceStart start);
