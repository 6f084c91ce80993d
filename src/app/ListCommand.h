// Ravelin.exe /list [/json]: the list as the window would show it, on standard output, with no
// window: the start's fill, the files' facts and the export.
#pragma once
#include <string_view>

struct ListRequest
{
    bool wanted = false; // /list was given
    bool json = false;   // /json was given with it
};
// The program's arguments (without the program name); switches start with / or -, any case.
ListRequest ParseListRequest(std::wstring_view arguments);

// Fills the list exactly as the window does at start, resolves every file, and writes the rows
// as CSV (the window's column headers, then File exists) or as JSON. Returns the exit code: 0,
// or 1 when there was nowhere to write.
int RunListCommand(bool json);
