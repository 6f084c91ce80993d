// Test services through the manager directly.
#include "support/TestServices.h"
#include "platform/Text.h"
#include "support/Processes.h"

namespace servicetest
{

namespace
{

const wchar_t StandInKey[] = L"DelayedStart";

platform::UniqueServiceHandle Open(const std::wstring& name, DWORD access)
{
    platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    return platform::UniqueServiceHandle(manager ? OpenServiceW(manager.get(), name.c_str(), access)
                                                 : nullptr);
}

bool Flag(const std::wstring& name)
{
    DWORD value = 0, size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, StandInKey, platform::FoldCase(name).c_str(), RRF_RT_REG_DWORD,
                        nullptr, &value, &size) == ERROR_SUCCESS &&
           value;
}

DWORD SetFlag(const std::wstring& name, bool delayed)
{
    const DWORD value = delayed;
    return RegSetKeyValueW(HKEY_CURRENT_USER, StandInKey, platform::FoldCase(name).c_str(), REG_DWORD, &value,
                           sizeof(value));
}

} // namespace

std::wstring ServiceProgram()
{
    return testsupport::BuildFolder() + L"\\demo\\syncsvc.exe";
}

void UseDelayedStandIn()
{
    platform::OverrideDelayedStart({[](const std::wstring& name, bool& delayed) {
                                        delayed = Flag(name);
                                        return DWORD(ERROR_SUCCESS);
                                    },
                                    SetFlag});
}

bool MakeService(const std::wstring& name, platform::ServiceStart start, const std::wstring& commandLine)
{
    platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    platform::UniqueServiceHandle service(
        CreateServiceW(manager.get(), name.c_str(), (L"Test " + name).c_str(), SERVICE_ALL_ACCESS,
                       SERVICE_WIN32_OWN_PROCESS, start.type, SERVICE_ERROR_NORMAL,
                       (commandLine.empty() ? L"\"" + ServiceProgram() + L"\"" : commandLine).c_str(),
                       nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service)
        service = Open(name, SERVICE_ALL_ACCESS);
    return service && SetFlag(name, start.delayed) == ERROR_SUCCESS &&
           ChangeServiceConfigW(service.get(), SERVICE_NO_CHANGE, start.type, SERVICE_NO_CHANGE, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

platform::ServiceStart StartOf(const std::wstring& name)
{
    platform::UniqueServiceHandle service = Open(name, SERVICE_QUERY_CONFIG);
    BYTE buffer[8192];
    DWORD needed = 0;
    if (!service || !QueryServiceConfigW(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer),
                                         sizeof(buffer), &needed))
        return {0xFFFF, false};
    const DWORD type = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer)->dwStartType;
    return {type, Flag(name)};
}

DWORD StateOf(const std::wstring& name)
{
    platform::UniqueServiceHandle service = Open(name, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    return service && QueryServiceStatus(service.get(), &status) ? status.dwCurrentState : 0;
}

bool Run(const std::wstring& name)
{
    platform::UniqueServiceHandle service = Open(name, SERVICE_START | SERVICE_QUERY_STATUS);
    if (!service || !StartServiceW(service.get(), 0, nullptr))
        return false;
    // The manager tells, by a call on this thread while it waits alertably, when the state changes.
    SERVICE_NOTIFYW notify{};
    notify.dwVersion = SERVICE_NOTIFY_STATUS_CHANGE;
    notify.pfnNotifyCallback = [](void*) {};
    for (int changes = 0; changes < 4 && StateOf(name) != SERVICE_RUNNING; ++changes)
        if (NotifyServiceStatusChangeW(service.get(), SERVICE_NOTIFY_RUNNING, &notify) != ERROR_SUCCESS ||
            SleepEx(10000, TRUE) != WAIT_IO_COMPLETION)
            break;
    return StateOf(name) == SERVICE_RUNNING;
}

void DeleteServices(const std::vector<std::wstring>& names)
{
    // Deleted once stopped: each test names its services anew, so nothing waits for that.
    for (const std::wstring& name : names)
    {
        platform::UniqueServiceHandle service = Open(name, SERVICE_STOP | DELETE);
        SERVICE_STATUS status{};
        if (!service)
            continue;
        ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
        DeleteService(service.get());
    }
}

} // namespace servicetest
