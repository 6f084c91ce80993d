// The service control manager: the Win32 services with their start types, and the change of one
// service's start type.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <winsvc.h>

#include <functional>
#include <string>
#include <vector>

namespace platform
{

// When a service starts: SERVICE_AUTO_START, SERVICE_DEMAND_START or SERVICE_DISABLED, and for an
// automatic one whether it waits until the others have started. delayed is false for any other.
struct ServiceStart
{
    DWORD type = SERVICE_DEMAND_START;
    bool delayed = false;
    bool operator==(const ServiceStart&) const = default;
};

struct ServiceInfo
{
    std::wstring name; // its key under SYSTEM\CurrentControlSet\Services
    std::wstring displayName;
    std::wstring description;
    std::wstring imagePath; // the command line the manager starts
    // The DLL that svchost runs for a service it hosts, as the registry has it; empty for others.
    std::wstring serviceDll;
    DWORD state = SERVICE_STOPPED;
    ServiceStart start;
    DWORD configError = ERROR_SUCCESS; // its configuration could not be read: start and imagePath unknown
};

struct ServiceListing
{
    std::vector<ServiceInfo> services;
    DWORD error = ERROR_SUCCESS; // the manager could not be asked
};
// The Win32 services, of their own process or a shared one, in the manager's order.
ServiceListing ListServices();

// The start of one service as the manager has it now. Where the manager cannot tell a delayed
// start (Wine's answers ERROR_INVALID_LEVEL), the service key's DelayedAutostart value does.
DWORD QueryServiceStart(const std::wstring& name, ServiceStart& start);
// Sets a service's start type; an automatic start sets the delayed flag first, so that a stop
// between the two writes never leaves it started sooner than asked. Never starts or stops it.
DWORD ChangeServiceStart(const std::wstring& name, ServiceStart start);

// Tests only. Wine's manager answers ERROR_INVALID_LEVEL to the delayed-start level, which Windows
// has: a stand-in keeps the flag instead, so that the program's use of it runs all the same.
struct DelayedStartStandIn
{
    std::function<DWORD(const std::wstring& name, bool& delayed)> query;
    std::function<DWORD(const std::wstring& name, bool delayed)> change;
};
void OverrideDelayedStart(DelayedStartStandIn standIn);
// Tests only. Wine's manager does not hold a service's security descriptor against a change: the
// services named here are opened without the right to change them, and the manager refuses.
void DenyServiceChanges(std::vector<std::wstring> names);

} // namespace platform
