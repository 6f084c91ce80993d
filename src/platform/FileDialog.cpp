// File dialogs through GetOpenFileNameW and GetSaveFileNameW.
#include "platform/FileDialog.h"

#include <commdlg.h>

#include <vector>

namespace platform {

FileDialogResult ShowFileDialog(HWND owner, bool save, const std::wstring& filter, const std::wstring& initialName)
{
    std::wstring filterChars = filter;
    for (wchar_t& c : filterChars)
        if (c == L'|') c = L'\0';
    filterChars.append(2, L'\0');

    std::vector<wchar_t> name(32768, L'\0');
    initialName.copy(name.data(), std::min(initialName.size(), name.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterChars.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    FileDialogResult result;
    result.chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (result.chosen) {
        result.fileName = name.data();
        result.filterIndex = static_cast<int>(ofn.nFilterIndex);
    }
    return result;
}

} // namespace platform
