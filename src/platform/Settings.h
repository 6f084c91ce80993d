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
