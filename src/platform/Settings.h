// The per-user settings store and the single-instance guard.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>

namespace platform
{

// HKEY_CURRENT_USER\Software\Brightfold\Language, value Name. Empty when absent.
std::wstring LoadLanguageSetting();
DWORD SaveLanguageSetting(const std::wstring& name);
// The window's on-off choices, under HKEY_CURRENT_USER\Software\Brightfold\View; off when absent.
bool LoadViewSwitch(const wchar_t* name);
DWORD SaveViewSwitch(const wchar_t* name, bool on);

// Holds the program's session-wide mutex; AnotherIsRunning when it already existed.
class SingleInstance
{
  public:
    SingleInstance();
    bool AnotherIsRunning() const { return another_; }

  private:
    UniqueHandle mutex_;
    bool another_ = false;
};

} // namespace platform
