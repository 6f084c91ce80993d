// File dialogs through GetOpenFileNameW and GetSaveFileNameW, from comdlg32 loaded on first use.
#include "platform/FileDialog.h"

#include <commdlg.h>

#include <vector>

namespace platform
{

namespace
{

// The dialogs' library is loaded at the first dialog, not with the program: under Wine, loading
// it and what it imports costs every start about 18 ms.
using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

FileDialogFunction DialogFunction(bool save)
{
    static HMODULE library = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library)
        return nullptr;
    FARPROC function = GetProcAddress(library, save ? "GetSaveFileNameW" : "GetOpenFileNameW");
    return reinterpret_cast<FileDialogFunction>(reinterpret_cast<void (*)()>(function));
}

} // namespace

FileDialogResult ShowFileDialog(HWND owner, bool save, const std::wstring& filter,
                                const std::wstring& initialName)
{
    std::wstring filterChars = filter;
    for (wchar_t& c : filterChars)
        if (c == L'|')
            c = L'\0';
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
    FileDialogFunction show = DialogFunction(save);
    result.chosen = show && show(&ofn);
    if (result.chosen)
    {
        result.fileName = name.data();
        result.filterIndex = static_cast<int>(ofn.nFilterIndex);
    }
    return result;
}

} // namespace platform
