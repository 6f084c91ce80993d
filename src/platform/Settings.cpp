// Settings store and single-instance mutex.
#include "platform/Settings.h"
#include "platform/Names.h"
#include "platform/Registry.h"
#include "platform/WriteSteps.h"

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

bool LoadViewSwitch(const wchar_t* name)
{
    DWORD value = 0, size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, names::ViewSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS &&
           value != 0;
}

DWORD SaveViewSwitch(const wchar_t* name, bool on)
{
    const DWORD value = on ? 1 : 0;
    BeforeWrite(L"save view switch");
    return RegSetKeyValueW(HKEY_CURRENT_USER, names::ViewSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

SingleInstance::SingleInstance()
{
    mutex_.reset(CreateMutexW(nullptr, FALSE, names::InstanceMutex));
    another_ = GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace platform
