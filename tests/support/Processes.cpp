// Child processes through a toolhelp snapshot; windows through EnumWindows.
#include "support/Processes.h"

#include <tlhelp32.h>

namespace testsupport
{

std::vector<DWORD> ChildProcesses(const std::wstring& exeName)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    {
        const wchar_t* slash = wcsrchr(entry.szExeFile, L'\\');
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            _wcsicmp(slash ? slash + 1 : entry.szExeFile, exeName.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

// Once the process is ready for input, the texts of its windows, each ended by a line feed.
static std::wstring WindowTextsOf(DWORD processId)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process)
        return {};
    WaitForInputIdle(process, 20000);
    CloseHandle(process);
    std::pair<DWORD, std::wstring> search{processId, {}};
    // Each top window of the process, and each one it holds (those come with their top window).
    static const WNDENUMPROC collect = [](HWND window, LPARAM param) -> BOOL {
        auto& [owner, texts] = *reinterpret_cast<std::pair<DWORD, std::wstring>*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != owner)
            return TRUE;
        if (const std::wstring text = WindowText(window); !text.empty())
            texts += text + L"\n";
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
            EnumChildWindows(window, collect, param);
        return TRUE;
    };
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Ends the process with this id and waits until it is gone.
static void EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process)
        return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

std::wstring EndStarted(const std::wstring& exeName)
{
    const std::vector<DWORD> started = ChildProcesses(exeName);
    const std::wstring texts = started.size() == 1 ? WindowTextsOf(started[0]) : L"";
    for (DWORD id : started)
        EndProcess(id);
    return texts;
}

} // namespace testsupport
