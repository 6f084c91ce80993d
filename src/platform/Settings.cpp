// Settings store and single-instance mutex.
#include "platform/Settings.h"
#include "platform/Names.h"
#include "platform/Registry.h"

namespace platform
{

std::wstring LoadLanguageSetting()
{
    wchar_t buffer[MAX_PATH];
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, names::SettingsKey, names::SettingsValue, RRF_RT_REG_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

DWORD SaveLanguageSetting(const std::wstring& name)
{
    return RegSetKeyValueW(HKEY_CURRENT_USER, names::SettingsKey, names::SettingsValue, REG_SZ, name.c_str(),
                           static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
}

SingleInstance::SingleInstance()
{
    mutex_.reset(CreateMutexW(nullptr, FALSE, names::InstanceMutex));
    another_ = GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace platform
