// The scheduler through ITaskService, and its task files where the service does not answer.
#include "platform/Tasks.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"
#include "platform/WriteSteps.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>

namespace platform
{

namespace
{

using Microsoft::WRL::ComPtr;

struct BstrFreer
{
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

UniqueBstr MakeBstr(const std::wstring& text)
{
    return UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// Calls a getter with a BSTR out-parameter and owns what it gives; out is empty on failure.
template <class Getter> HRESULT ReadBstr(Getter get, std::wstring& out)
{
    BSTR raw = nullptr;
    const HRESULT hr = get(&raw);
    UniqueBstr owned(raw);
    out = SUCCEEDED(hr) && raw ? std::wstring(raw, SysStringLen(raw)) : std::wstring();
    return hr;
}

class Variant
{
  public:
    Variant() { VariantInit(&value_); }
    explicit Variant(LONG number) : Variant()
    {
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    const VARIANT& get() const { return value_; }

  private:
    VARIANT value_;
};

std::wstring JoinTaskPath(const std::wstring& folder, const std::wstring& name)
{
    return (folder == L"\\" ? folder : folder + L"\\") + name;
}

std::wstring FolderOnDisk(const std::wstring& folder)
{
    return TaskFilesFolder() + (folder == L"\\" ? std::wstring() : folder);
}

std::string Utf16LeBytes(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (wchar_t c : text)
    {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

HRESULT ConnectScheduler(ComPtr<ITaskService>& service, ComPtr<ITaskFolder>& root)
{
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&service));
    if (FAILED(hr))
        return hr;
    const Variant none; // this computer, this user
    if (FAILED(hr = service->Connect(none.get(), none.get(), none.get(), none.get())))
        return hr;
    return service->GetFolder(MakeBstr(L"\\").get(), &root);
}

// The files and subfolders of a folder, each sorted by name without regard to case. Folders that
// are links elsewhere are left out, so that a loop of links cannot make the walk endless.
struct FolderEntries
{
    std::vector<std::wstring> files, folders;
    DWORD error = ERROR_SUCCESS;
};

FolderEntries ListEntries(const std::wstring& folder)
{
    FolderEntries entries;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, 0));
    if (find.get() == INVALID_HANDLE_VALUE)
    {
        find.release();
        const DWORD error = GetLastError();
        entries.error = error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error;
        return entries;
    }
    do
    {
        const std::wstring name = data.cFileName;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            entries.files.push_back(name);
        else if (name != L"." && name != L".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            entries.folders.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    const auto byName = [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    };
    std::sort(entries.files.begin(), entries.files.end(), byName);
    std::sort(entries.folders.begin(), entries.folders.end(), byName);
    return entries;
}

class SystemTasks final : public Scheduler
{
  public:
    explicit SystemTasks(TaskXmlRules rules) : rules_(std::move(rules)) {}
    TaskListing List() override;
    TaskSwitch SetEnabled(const TaskInfo& task, bool enabled) override;

  private:
    std::optional<bool> FileEnabled(const std::string& xml) const
    {
        return rules_.enabled ? rules_.enabled(xml) : std::nullopt;
    }
    TaskInfo FileTask(const std::wstring& folder, const std::wstring& name) const;
    void WalkApi(ITaskFolder& folderObject, const std::wstring& folder, TaskListing& listing) const;
    void WalkFiles(const std::wstring& folder, const FolderEntries& entries, bool subfolders,
                   TaskListing& listing) const;
    DWORD SetThroughApi(const TaskInfo& task, bool enabled) const;

    TaskXmlRules rules_;
};

TaskInfo ApiTask(IRegisteredTask& registered, const std::wstring& folder)
{
    TaskInfo task;
    task.folder = folder;
    ReadBstr([&](BSTR* out) { return registered.get_Name(out); }, task.name);
    if (FAILED(ReadBstr([&](BSTR* out) { return registered.get_Path(out); }, task.path)) || task.path.empty())
        task.path = JoinTaskPath(folder, task.name);
    std::wstring xml;
    const HRESULT hr = ReadBstr([&](BSTR* out) { return registered.get_Xml(out); }, xml);
    if (FAILED(hr))
        task.error = ErrorFromHResult(hr);
    else
        task.xml = Utf16LeBytes(xml);
    if (FAILED(registered.get_State(&task.state)))
        task.state = TASK_STATE_UNKNOWN;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    task.enabled = SUCCEEDED(registered.get_Enabled(&enabled)) && enabled != VARIANT_FALSE;
    DATE lastRun = 0;
    SYSTEMTIME time{};
    // SCHED_S_TASK_HAS_NOT_RUN is a success without a time.
    if (registered.get_LastRunTime(&lastRun) == S_OK && lastRun != 0 &&
        VariantTimeToSystemTime(lastRun, &time))
        task.lastRun = time;
    LONG result = 0;
    if (SUCCEEDED(registered.get_LastTaskResult(&result)))
        task.lastResult = static_cast<HRESULT>(result);
    return task;
}

// The tasks of one folder, or the first failure of the API's answers.
HRESULT ApiTasks(ITaskFolder& folderObject, const std::wstring& folder, std::vector<TaskInfo>& tasks)
{
    ComPtr<IRegisteredTaskCollection> collection;
    HRESULT hr = folderObject.GetTasks(TASK_ENUM_HIDDEN, &collection);
    LONG count = 0;
    if (FAILED(hr) || FAILED(hr = collection->get_Count(&count)))
        return hr;
    for (LONG i = 1; i <= count; ++i)
    {
        ComPtr<IRegisteredTask> registered;
        if (FAILED(hr = collection->get_Item(Variant(i).get(), &registered)))
            return hr;
        tasks.push_back(ApiTask(*registered.Get(), folder));
    }
    return S_OK;
}

HRESULT ApiSubfolders(ITaskFolder& folderObject, std::vector<ComPtr<ITaskFolder>>& subfolders)
{
    ComPtr<ITaskFolderCollection> collection;
    HRESULT hr = folderObject.GetFolders(0, &collection);
    LONG count = 0;
    if (FAILED(hr) || FAILED(hr = collection->get_Count(&count)))
        return hr;
    for (LONG i = 1; i <= count; ++i)
    {
        ComPtr<ITaskFolder> subfolder;
        if (FAILED(hr = collection->get_Item(Variant(i).get(), &subfolder)))
            return hr;
        subfolders.push_back(subfolder);
    }
    return S_OK;
}

TaskInfo SystemTasks::FileTask(const std::wstring& folder, const std::wstring& name) const
{
    TaskInfo task;
    task.folder = folder;
    task.name = name;
    task.path = JoinTaskPath(folder, name);
    task.origin = TaskOrigin::File;
    task.error = ReadWholeFile(TaskFilesFolder() + task.path, task.xml);
    if (const std::optional<bool> enabled = task.error ? std::nullopt : FileEnabled(task.xml))
    {
        task.enabled = *enabled;
        task.state = *enabled ? TASK_STATE_READY : TASK_STATE_DISABLED;
    }
    return task;
}

void SystemTasks::WalkFiles(const std::wstring& folder, const FolderEntries& entries, bool subfolders,
                            TaskListing& listing) const
{
    if (entries.error)
    {
        listing.folderErrors.push_back({folder, entries.error});
        return;
    }
    for (const std::wstring& name : entries.files)
        listing.tasks.push_back(FileTask(folder, name));
    if (subfolders)
        for (const std::wstring& name : entries.folders)
        {
            const std::wstring subfolder = JoinTaskPath(folder, name);
            WalkFiles(subfolder, ListEntries(FolderOnDisk(subfolder)), true, listing);
        }
}

// Each folder's tasks come from the API where it enumerates them, else from its files; its
// subfolders likewise, where the files then go on for the whole branch.
void SystemTasks::WalkApi(ITaskFolder& folderObject, const std::wstring& folder, TaskListing& listing) const
{
    std::vector<TaskInfo> tasks;
    std::vector<ComPtr<ITaskFolder>> subfolders;
    const bool tasksFromApi = SUCCEEDED(ApiTasks(folderObject, folder, tasks));
    const bool foldersFromApi = SUCCEEDED(ApiSubfolders(folderObject, subfolders));
    if (!tasksFromApi || !foldersFromApi)
    {
        FolderEntries entries = ListEntries(FolderOnDisk(folder));
        if (tasksFromApi)
            entries.files.clear();
        // The root's files are listed only when the folder is there; a root without it holds none.
        if (folder == L"\\" && entries.error == ERROR_PATH_NOT_FOUND)
            entries = {};
        WalkFiles(folder, entries, !foldersFromApi, listing);
    }
    listing.tasks.insert(listing.tasks.end(), tasks.begin(), tasks.end());
    for (const ComPtr<ITaskFolder>& subfolder : subfolders)
    {
        std::wstring path;
        if (FAILED(ReadBstr([&](BSTR* out) { return subfolder->get_Path(out); }, path)) || path.empty())
        {
            std::wstring name;
            ReadBstr([&](BSTR* out) { return subfolder->get_Name(out); }, name);
            path = JoinTaskPath(folder, name);
        }
        WalkApi(*subfolder.Get(), path, listing);
    }
}

TaskListing SystemTasks::List()
{
    TaskListing listing;
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    const HRESULT hr = ConnectScheduler(service, root);
    if (SUCCEEDED(hr))
    {
        WalkApi(*root.Get(), L"\\", listing);
        return listing;
    }
    listing.apiError = ErrorFromHResult(hr);
    FolderEntries entries = ListEntries(TaskFilesFolder());
    if (entries.error == ERROR_PATH_NOT_FOUND)
        entries = {};
    WalkFiles(L"\\", entries, true, listing);
    return listing;
}

// ERROR_SUCCESS when the API took the change, as read back; ERROR_NOT_SUPPORTED when it answered
// yes but nothing changed, as Wine's put_Enabled does.
DWORD SystemTasks::SetThroughApi(const TaskInfo& task, bool enabled) const
{
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    ComPtr<IRegisteredTask> registered;
    HRESULT hr = ConnectScheduler(service, root);
    if (FAILED(hr) || FAILED(hr = root->GetTask(MakeBstr(task.path).get(), &registered)))
        return ErrorFromHResult(hr);
    BeforeWrite(L"task enabled");
    if (FAILED(hr = registered->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE)))
        return ErrorFromHResult(hr);
    // A task seen in its file is read back from there: Wine's API answers false for a file
    // without the setting, where the scheduler's own default is true.
    if (task.origin == TaskOrigin::File)
    {
        std::string bytes;
        const bool taken = ReadWholeFile(TaskFilesFolder() + task.path, bytes) == ERROR_SUCCESS &&
                           FileEnabled(bytes) == enabled;
        return taken ? ERROR_SUCCESS : ERROR_NOT_SUPPORTED;
    }
    ComPtr<IRegisteredTask> fresh;
    VARIANT_BOOL now = VARIANT_FALSE;
    if (FAILED(hr = root->GetTask(MakeBstr(task.path).get(), &fresh)) ||
        FAILED(hr = fresh->get_Enabled(&now)))
        return ErrorFromHResult(hr);
    return (now != VARIANT_FALSE) == enabled ? ERROR_SUCCESS : ERROR_NOT_SUPPORTED;
}

TaskSwitch SystemTasks::SetEnabled(const TaskInfo& task, bool enabled)
{
    const DWORD apiError = SetThroughApi(task, enabled);
    if (apiError == ERROR_SUCCESS)
        return {ERROR_SUCCESS, TaskOrigin::Api};
    // A task the API listed is the API's: where Windows keeps its own copy of each definition, an
    // edited file would change nothing it runs.
    if (task.origin == TaskOrigin::Api)
        return {apiError, TaskOrigin::Api};
    const std::wstring file = TaskFilesFolder() + task.path;
    std::string bytes;
    DWORD error = ReadWholeFile(file, bytes);
    if (error == ERROR_SUCCESS)
    {
        const std::optional<std::string> changed =
            rules_.withEnabled ? rules_.withEnabled(bytes, enabled) : std::nullopt;
        if (!changed)
            error = ERROR_INVALID_DATA;
        else if (*changed != bytes)
            error = ReplaceFileAtomically(file, *changed);
    }
    // Without a file, the API's answer says more.
    return {IsMissing(error) ? apiError : error, TaskOrigin::File};
}

} // namespace

std::wstring TaskFilesFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, n < MAX_PATH ? n : 0) + L"\\Tasks";
}

std::unique_ptr<Scheduler> SystemScheduler(TaskXmlRules rules)
{
    return std::make_unique<SystemTasks>(std::move(rules));
}

} // namespace platform
