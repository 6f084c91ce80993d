// Shortcut files through IShellLinkW and IPersistFile.
#include "platform/Shortcuts.h"
#include "platform/Text.h"
#include "platform/WriteSteps.h"

#include <objbase.h>
#include <shlobj.h>

namespace platform
{

ShortcutReader::ShortcutReader()
{
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link_))))
        link_.As(&file_);
}

bool ShortcutReader::Read(const std::wstring& shortcutPath, std::wstring& target)
{
    target.clear();
    if (!file_ || FAILED(file_->Load(shortcutPath.c_str(), STGM_READ)))
        return false;
    wchar_t path[MAX_PATH * 4] = {};
    // SLGP_RAWPATH keeps environment variables as the shortcut stores them.
    if (FAILED(link_->GetPath(path, ARRAYSIZE(path), nullptr, SLGP_RAWPATH)))
        return false;
    target = path;
    return true;
}

bool ReadShortcutTarget(const std::wstring& shortcutPath, std::wstring& target)
{
    return ShortcutReader().Read(shortcutPath, target);
}

namespace
{

HRESULT SaveShortcut(const std::wstring& shortcutPath, const std::wstring& target)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    auto fresh = [&]() -> HRESULT {
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link));
        return FAILED(hr) ? hr : link.As(&file);
    };
    HRESULT hr = fresh();
    if (FAILED(hr))
        return hr;
    // An existing shortcut keeps its arguments, icon and folder; only the target changes.
    if (GetFileAttributesW(shortcutPath.c_str()) != INVALID_FILE_ATTRIBUTES &&
        FAILED(file->Load(shortcutPath.c_str(), STGM_READ)) && FAILED(hr = fresh()))
        return hr;
    if (FAILED(hr = link->SetPath(target.c_str())))
        return hr;
    // The link object refuses some texts (quotes inside) without failing: never save a shortcut
    // that lost its target.
    wchar_t stored[MAX_PATH * 4] = {};
    if (!target.empty() &&
        (FAILED(link->GetPath(stored, ARRAYSIZE(stored), nullptr, SLGP_RAWPATH)) || !*stored))
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    BeforeWrite(L"save shortcut");
    return file->Save(shortcutPath.c_str(), TRUE);
}

} // namespace

DWORD WriteShortcut(const std::wstring& shortcutPath, const std::wstring& target)
{
    return ErrorFromHResult(SaveShortcut(shortcutPath, target));
}

} // namespace platform
