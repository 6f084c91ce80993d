// The service control manager's listing, queries and changes of start types.
#include "platform/Services.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "platform/WriteSteps.h"

#include <algorithm>

namespace platform
{

namespace
{

DelayedStartStandIn delayedStandIn;
std::vector<std::wstring> deniedChanges;

// A query that says how much room it needs: asked again with that room.
template <class Query> DWORD QueryGrowing(std::vector<BYTE>& buffer, Query query)
{
    if (buffer.size() < 256)
        buffer.resize(256);
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        DWORD needed = 0;
        if (query(buffer.data(), static_cast<DWORD>(buffer.size()), &needed))
            return ERROR_SUCCESS;
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size())
            return error;
        buffer.resize(needed);
    }
    return ERROR_INSUFFICIENT_BUFFER;
}

std::wstring OrEmpty(const wchar_t* text)
{
    return text ? text : L"";
}

DWORD QueryDelayed(SC_HANDLE service, const std::wstring& name, bool& delayed)
{
    delayed = false;
    if (delayedStandIn.query)
        return delayedStandIn.query(name, delayed);
    SERVICE_DELAYED_AUTO_START_INFO info{};
    DWORD needed = 0;
    if (QueryServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, reinterpret_cast<BYTE*>(&info),
                             sizeof(info), &needed))
    {
        delayed = info.fDelayedAutostart != FALSE;
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    // The manager keeps the flag in the service's key, where it can be read without it.
    DWORD value = 0, size = sizeof(value);
    if (error != ERROR_INVALID_LEVEL ||
        RegGetValueW(HKEY_LOCAL_MACHINE, (names::ServicesKey + name).c_str(), L"DelayedAutostart",
                     RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return error;
    delayed = value != 0;
    return ERROR_SUCCESS;
}

// A service svchost hosts names its DLL under Parameters of its key, or in the key itself.
std::wstring ServiceDllOf(const std::wstring& name, const std::wstring& imagePath)
{
    if (FindNoCase(imagePath, L"svchost") == std::wstring::npos)
        return {};
    const std::wstring key = names::ServicesKey + name;
    for (const std::wstring& place : {key + L"\\Parameters", key})
    {
        wchar_t dll[MAX_PATH * 2] = {};
        DWORD size = sizeof(dll);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, place.c_str(), L"ServiceDll",
                         RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, dll,
                         &size) == ERROR_SUCCESS &&
            dll[0])
            return dll;
    }
    return {};
}

DWORD ChangeDelayed(SC_HANDLE service, const std::wstring& name, bool delayed)
{
    BeforeWrite(L"change service delayed start");
    if (delayedStandIn.change)
        return delayedStandIn.change(name, delayed);
    SERVICE_DELAYED_AUTO_START_INFO info{delayed ? TRUE : FALSE};
    return ChangeServiceConfig2W(service, SERVICE_CONFIG_DELAYED_AUTO_START_INFO, &info) ? ERROR_SUCCESS
                                                                                         : GetLastError();
}

// The start of an open service. A manager that knows no delayed start (ERROR_INVALID_LEVEL) has
// none to tell.
DWORD QueryStart(SC_HANDLE service, const std::wstring& name, ServiceStart& start, std::wstring* imagePath)
{
    std::vector<BYTE> buffer;
    DWORD error = QueryGrowing(buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
        return QueryServiceConfigW(service, reinterpret_cast<QUERY_SERVICE_CONFIGW*>(data), size, needed);
    });
    if (error != ERROR_SUCCESS)
        return error;
    const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer.data());
    start = {config->dwStartType, false};
    if (imagePath)
        *imagePath = OrEmpty(config->lpBinaryPathName);
    if (start.type != SERVICE_AUTO_START)
        return ERROR_SUCCESS;
    error = QueryDelayed(service, name, start.delayed);
    return error == ERROR_INVALID_LEVEL ? ERROR_SUCCESS : error;
}

ServiceInfo Describe(SC_HANDLE manager, const ENUM_SERVICE_STATUS_PROCESSW& entry)
{
    ServiceInfo info;
    info.name = OrEmpty(entry.lpServiceName);
    info.displayName = OrEmpty(entry.lpDisplayName);
    info.state = entry.ServiceStatusProcess.dwCurrentState;
    UniqueServiceHandle service(OpenServiceW(manager, entry.lpServiceName, SERVICE_QUERY_CONFIG));
    if (!service)
    {
        info.configError = GetLastError();
        return info;
    }
    info.configError = QueryStart(service.get(), info.name, info.start, &info.imagePath);
    info.serviceDll = ServiceDllOf(info.name, info.imagePath);
    std::vector<BYTE> buffer;
    if (QueryGrowing(buffer, [&](BYTE* data, DWORD size, DWORD* needed) {
            return QueryServiceConfig2W(service.get(), SERVICE_CONFIG_DESCRIPTION, data, size, needed);
        }) == ERROR_SUCCESS)
        info.description =
            OrEmpty(reinterpret_cast<const SERVICE_DESCRIPTIONW*>(buffer.data())->lpDescription);
    return info;
}

UniqueServiceHandle OpenOneService(const std::wstring& name, DWORD access, DWORD& error)
{
    UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    UniqueServiceHandle service(manager ? OpenServiceW(manager.get(), name.c_str(), access) : nullptr);
    error = service ? ERROR_SUCCESS : GetLastError();
    return service;
}

} // namespace

ServiceListing ListServices()
{
    ServiceListing listing;
    UniqueServiceHandle manager(
        OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager)
    {
        listing.error = GetLastError();
        return listing;
    }
    // Asked first with room for no names, the manager says what the whole listing needs: one more
    // call, and the path that makes room is the one every listing takes.
    std::vector<BYTE> buffer(sizeof(ENUM_SERVICE_STATUS_PROCESSW));
    DWORD resume = 0;
    for (;;)
    {
        DWORD needed = 0, count = 0;
        const BOOL all = EnumServicesStatusExW(
            manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
            static_cast<DWORD>(buffer.size()), &needed, &count, &resume, nullptr);
        const DWORD error = all ? ERROR_SUCCESS : GetLastError();
        if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA)
        {
            listing.error = error;
            break;
        }
        const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            listing.services.push_back(Describe(manager.get(), entries[i]));
        if (all)
            break;
        if (count == 0)
        {
            // Not even one fitted: room for what the manager asks.
            if (needed <= buffer.size())
            {
                listing.error = ERROR_MORE_DATA;
                break;
            }
            buffer.resize(needed);
        }
    }
    return listing;
}

DWORD QueryServiceStart(const std::wstring& name, ServiceStart& start)
{
    DWORD error = ERROR_SUCCESS;
    UniqueServiceHandle service = OpenOneService(name, SERVICE_QUERY_CONFIG, error);
    return service ? QueryStart(service.get(), name, start, nullptr) : error;
}

DWORD ChangeServiceStart(const std::wstring& name, ServiceStart start)
{
    const bool denied = std::any_of(deniedChanges.begin(), deniedChanges.end(),
                                    [&](const std::wstring& d) { return EqualsNoCase(d, name); });
    DWORD error = ERROR_SUCCESS;
    UniqueServiceHandle service = OpenOneService(
        name, denied ? SERVICE_QUERY_CONFIG : SERVICE_QUERY_CONFIG | SERVICE_CHANGE_CONFIG, error);
    if (!service)
        return error;
    if (start.type == SERVICE_AUTO_START)
    {
        bool delayed = false;
        error = QueryDelayed(service.get(), name, delayed);
        if (error == ERROR_SUCCESS && delayed != start.delayed)
            error = ChangeDelayed(service.get(), name, start.delayed);
        else if (error == ERROR_INVALID_LEVEL && !start.delayed)
            error = ERROR_SUCCESS; // a manager without delayed starts has none to clear
        if (error != ERROR_SUCCESS)
            return error;
    }
    BeforeWrite(L"change service start type");
    if (!ChangeServiceConfigW(service.get(), SERVICE_NO_CHANGE, start.type, SERVICE_NO_CHANGE, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
        return GetLastError();
    return ERROR_SUCCESS;
}

void OverrideDelayedStart(DelayedStartStandIn standIn)
{
    delayedStandIn = std::move(standIn);
}

void DenyServiceChanges(std::vector<std::wstring> names)
{
    deniedChanges = std::move(names);
}

} // namespace platform
