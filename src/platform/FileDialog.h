// The common Open and Save file dialogs.
#pragma once
#include <windows.h>
#include <string>

namespace platform
{

struct FileDialogResult
{
    bool chosen = false; // false: cancelled
    std::wstring fileName;
    int filterIndex = 1; // from 1, in the order of the filter's choices
};

// filter: "Name|pattern|Name|pattern", as the user reads it. The dialog opens on initialName.
// Neither dialog asks about existing or missing files: the callers do.
FileDialogResult ShowFileDialog(HWND owner, bool save, const std::wstring& filter,
                                const std::wstring& initialName);

} // namespace platform
