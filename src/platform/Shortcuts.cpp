// Shortcut files through IShellLinkW and IPersistFile.
#include "platform/Shortcuts.h"

#include <objbase.h>
#include <shlobj.h>

namespace platform {

ShortcutReader::ShortcutReader()
{
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link_))))
        link_.As(&file_);
}

bool ShortcutReader::Read(const std::wstring& shortcutPath, std::wstring& target)
{
    target.clear();
    if (!file_ || FAILED(file_->Load(shortcutPath.c_str(), STGM_READ))) return false;
    wchar_t path[MAX_PATH * 4] = {};
    // SLGP_RAWPATH keeps environment variables as the shortcut stores them.
    if (FAILED(link_->GetPath(path, ARRAYSIZE(path), nullptr, SLGP_RAWPATH))) return false;
    target = path;
    return true;
}

bool ReadShortcutTarget(const std::wstring& shortcutPath, std::wstring& target)
{
    return ShortcutReader().Read(shortcutPath, target);
}

HRESULT WriteShortcut(const std::wstring& shortcutPath, const std::wstring& target)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
    if (FAILED(hr)) return hr;
    if (FAILED(hr = link->SetPath(target.c_str()))) return hr;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(hr = link.As(&file))) return hr;
    return file->Save(shortcutPath.c_str(), TRUE);
}

} // namespace platform
