// The program's apply in a process of its own, on the test's scratch registry: fills the list,
// stages and applies; told to, it stops for good right before one write, for the test to end it.
//   apply_child <scratch key path> stage|again|enable <stop at write n, 0 never> <event name>
// The services' modes act on the services whose names start with the prefix given:
//   apply_child <scratch key path> services-stage|services-again|services-enable <n> <event> <prefix>
// Or it fails in a worker thread, which must end it with a code that is not 0:
//   apply_child crash-in-worker|throw-in-worker
#include "staging/StartupFill.h"
#include "model/StartupSource.h"
#include "apply/ApplyEngine.h"
#include "staging/StagingCommands.h"
#include "apply/ServicesApply.h"
#include "support/TestServices.h"
#include "staging/ServiceStaging.h"
#include "find/FactsWorker.h"
#include "platform/CrashExit.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Handles.h"
#include "platform/WriteSteps.h"

#include <cwchar>
#include <stdexcept>
#include <string>
#include <thread>

namespace
{

int stopAt = 0, writes = 0;
HANDLE stopped = nullptr;

void StopBeforeWrite(const wchar_t*)
{
    if (++writes != stopAt)
        return;
    SetEvent(stopped);
    Sleep(INFINITE); // the test ends the process here
}

// Both keys are opened before either override: the second lies under the real HKCU too.
bool Redirect(const std::wstring& scratch)
{
    HKEY user = nullptr, machine = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKCU").c_str(), 0, KEY_ALL_ACCESS, &user) ==
               ERROR_SUCCESS &&
           RegOpenKeyExW(HKEY_CURRENT_USER, (scratch + L"\\HKLM").c_str(), 0, KEY_ALL_ACCESS, &machine) ==
               ERROR_SUCCESS &&
           RegOverridePredefKey(HKEY_CURRENT_USER, user) == ERROR_SUCCESS &&
           RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine) == ERROR_SUCCESS;
}

} // namespace

// Toggles (stage), leaves (again) or enables (enable) the prefix's services, then applies.
void ApplyServicesAs(const std::wstring& mode, const std::wstring& prefix)
{
    servicetest::UseDelayedStandIn();
    ServicesState services;
    FillServices(services);
    for (int row = 1; row <= services.List.Count(); ++row)
    {
        ServiceRow& service = services.List.Row(row);
        if (service.name.rfind(prefix, 0) != 0)
            continue;
        const bool enabled = service.staged == EntryState::Enabled;
        if (mode == L"services-stage" || (mode == L"services-enable" && !enabled))
            service.staged = enabled ? EntryState::Disabled : EntryState::Enabled;
    }
    ApplyServices(services);
}

// A crash in a thread of its own, or an exception that leaves the file facts thread.
int FailInWorker(const std::wstring& mode)
{
    volatile int* volatile nowhere = nullptr;
    if (mode == L"crash-in-worker")
        std::thread([&] { *nowhere = 1; }).join();
    FactsWorker worker([] { throw std::runtime_error("the window is gone"); });
    worker.Ask({L"notepad.exe"});
    for (;;)
        worker.TakeAnswers(), Sleep(10);
}

int wmain(int argc, wchar_t** argv)
{
    // As Ravelin.exe: a crash is told on standard error and in the error log of its folder.
    platform::EndCrashesWithTheirCode(platform::ProgramFolder() + platform::names::ErrorLogFile);
    if (argc == 2)
        return FailInWorker(argv[1]);
    if (argc != 5 && argc != 6)
        return 2;
    platform::ComApartment com;
    const std::wstring scratch = argv[1], mode = argv[2];
    if (!Redirect(scratch))
        return 3;
    stopAt = _wtoi(argv[3]);
    stopped = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[4]);
    platform::SetWriteStepHook(StopBeforeWrite);

    if (argc == 6)
    {
        ApplyServicesAs(mode, argv[5]);
        return 0;
    }
    StartupState state;
    FillStartupList(state);
    StartupList& list = state.List;
    FileFactsTable facts;
    for (int row = 1; row <= list.Count(); ++row)
    {
        const bool enabled = list.State(row) == EntryState::Enabled;
        if (mode == L"stage" || (mode == L"enable" && !enabled))
            list.SetState(row, enabled ? EntryState::Disabled : EntryState::Enabled);
        // Every entry that may be delayed, by 5 s; back with the logon again.
        if (mode == L"delay" && enabled)
        {
            list.Select(row);
            DelaySelected(state, 5, facts);
        }
        if (mode == L"undelay" && list.State(row) == EntryState::Delayed)
            list.SetState(row, EntryState::Enabled);
    }
    if (mode == L"stage")
        AppendNewTask(list, L"Added", 0, L"C:\\added.exe");
    ApplyNow(state);
    return 0;
}
