// Child processes through a toolhelp snapshot; windows through EnumWindows.
#include "support/Processes.h"

#include <tlhelp32.h>

namespace testsupport {

std::vector<DWORD> ChildProcesses(const std::wstring& exeName)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        std::wstring file = entry.szExeFile;
        size_t slash = file.find_last_of(L"\\/");
        if (slash != std::wstring::npos) file = file.substr(slash + 1);
        if (entry.th32ParentProcessID == GetCurrentProcessId() && _wcsicmp(file.c_str(), exeName.c_str()) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

namespace {
struct Search {
    DWORD processId;
    std::vector<std::wstring> texts;
};
BOOL CALLBACK CollectChild(HWND window, LPARAM param)
{
    wchar_t text[1024] = {};
    if (GetWindowTextW(window, text, 1024) > 0) reinterpret_cast<Search*>(param)->texts.emplace_back(text);
    return TRUE;
}
BOOL CALLBACK CollectTop(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    CollectChild(window, param);
    EnumChildWindows(window, CollectChild, param);
    return TRUE;
}
} // namespace

std::vector<std::wstring> WindowTextsOf(DWORD processId)
{
    Search search{processId, {}};
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return search.texts;
    WaitForInputIdle(process, 20000);
    CloseHandle(process);
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.texts;
}

bool AnyContains(const std::vector<std::wstring>& texts, const std::wstring& part)
{
    for (const std::wstring& text : texts)
        if (text.find(part) != std::wstring::npos) return true;
    return false;
}

void EndProcess(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
}

} // namespace testsupport
