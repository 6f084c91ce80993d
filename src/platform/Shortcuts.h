// Shortcut files through the shell's link object.
#pragma once
#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>

namespace platform
{

// Reads the targets of many shortcuts with one link object.
class ShortcutReader
{
  public:
    ShortcutReader();
    // False when the file is not a shortcut that can be read; target is then empty.
    bool Read(const std::wstring& shortcutPath, std::wstring& target);

  private:
    Microsoft::WRL::ComPtr<IShellLinkW> link_;
    Microsoft::WRL::ComPtr<IPersistFile> file_;
};

bool ReadShortcutTarget(const std::wstring& shortcutPath, std::wstring& target);
// Creates a shortcut whose target is the whole text given, or changes the target of an existing
// one. Fails without writing when the link object does not take the text as a target. Returns
// the system error.
DWORD WriteShortcut(const std::wstring& shortcutPath, const std::wstring& target);

} // namespace platform
