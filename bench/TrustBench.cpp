// Signature benchmark: 1 000 entries naming 1 000 different files (most signed by their vendor,
// some changed after signing, some unsigned). First the program's way of judging them (each file's
// stamp, its check, the answers saved to the cache) against the bare WinVerifyTrust calls on the
// same files, with the catalog lookup a file without a signature needs; the same files known from
// the cache; the facts worker from the questions to the last signature. Then the start of
// Ravelin.exe to its first paint and to interactive with those entries, the cache empty and full,
// against the same entries naming files that are not there (no signature to check) and the
// same-controls floor. --checks: the first part alone. Run it in a prefix of its own: it rewrites
// that prefix's run keys.
#include "PrefixState.h"
#include "StartTiming.h"
#include "find/FactsWorker.h"
#include "find/FileTrust.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Text.h"

#include <softpub.h>
#include <wintrust.h>
// After wintrust.h, which it needs.
#include <mscat.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace
{

using bench::Least;
using bench::Median;
using bench::Now;

constexpr int Files = 1000, Runs = 7;
const std::wstring Folder = L"C:\\RavBenchTrust";

std::wstring FileName(int i, const wchar_t* folder)
{
    wchar_t name[64];
    swprintf(name, 64, L"\\Vendor%04d\\helper.exe", i);
    return folder + std::wstring(name);
}

// 80% signed by their vendor, 10% changed after signing, 10% unsigned, each in a folder of its own.
std::vector<std::wstring> MakeFiles(const std::wstring& buildFolder)
{
    const std::wstring trust = buildFolder + L"\\tests\\trust\\";
    std::vector<std::wstring> files;
    for (int i = 0; i < Files; ++i)
    {
        const std::wstring file = FileName(i, Folder.c_str());
        const std::wstring source = i % 10 == 8   ? trust + L"tampered.exe"
                                    : i % 10 == 9 ? buildFolder + L"\\demo\\syncdrive.exe"
                                                  : trust + L"vendor.exe";
        platform::CreateFolderPath(file.substr(0, file.find_last_of(L'\\')));
        if (!CopyFileW(source.c_str(), file.c_str(), FALSE))
            std::printf("cannot copy %ls (error %lu)\n", source.c_str(), GetLastError());
        files.push_back(file);
    }
    return files;
}

// The plain way: WinVerifyTrust on the file with the program's flags, and for a file that has no
// signature of its own the catalog lookup of its hash.
int BareChecks(const std::vector<std::wstring>& files)
{
    HCATADMIN admin = nullptr;
    GUID driver = DRIVER_ACTION_VERIFY;
    CryptCATAdminAcquireContext(&admin, &driver, 0);
    int verified = 0;
    for (const std::wstring& path : files)
    {
        WINTRUST_FILE_INFO fileInfo{sizeof(fileInfo), path.c_str(), nullptr, nullptr};
        WINTRUST_DATA data{};
        data.cbStruct = sizeof(data);
        data.dwUIChoice = WTD_UI_NONE;
        data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &fileInfo;
        data.dwStateAction = WTD_STATEACTION_VERIFY;
        data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        HWND noUser = static_cast<HWND>(INVALID_HANDLE_VALUE);
        const LONG code = WinVerifyTrust(noUser, &action, &data);
        verified += code == ERROR_SUCCESS;
        data.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(noUser, &action, &data);
        if (code != TRUST_E_NOSIGNATURE || !admin)
            continue;
        platform::UniqueHandle file(
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        BYTE hash[64];
        DWORD size = sizeof(hash);
        if (file && CryptCATAdminCalcHashFromFileHandle(file.get(), &size, hash, 0))
            if (HCATINFO info = CryptCATAdminEnumCatalogFromHash(admin, hash, size, 0, nullptr))
                CryptCATAdminReleaseCatalogContext(admin, info, 0);
    }
    if (admin)
        CryptCATAdminReleaseContext(admin, 0);
    return verified;
}

// The program's way, as its worker does it: not known, checked, kept; the cache saved at the end.
int JudgedChecks(const std::vector<std::wstring>& files, const std::wstring& cache)
{
    platform::RemoveFile(cache, true);
    TrustJudge judge(cache);
    int verified = 0;
    for (const std::wstring& file : files)
        if (!judge.Known(file))
            verified += judge.Check(file).state == platform::SignatureState::Verified;
    judge.Save();
    return verified;
}

// The checks alone, without stamps or cache.
int CheckerAlone(const std::vector<std::wstring>& files)
{
    platform::SignatureChecker checker;
    int verified = 0;
    for (const std::wstring& file : files)
        verified += checker.Check(file).state == platform::SignatureState::Verified;
    return verified;
}

int KnownFromCache(const std::vector<std::wstring>& files, const std::wstring& cache)
{
    TrustJudge judge(cache);
    int known = 0;
    for (const std::wstring& file : files)
        known += judge.Known(file).has_value();
    return known;
}

// From asking the worker every entry's command line to the last signature answered.
double WorkerToLastSignature(const std::vector<std::wstring>& files, const std::wstring& cache)
{
    platform::RemoveFile(cache, true);
    const platform::UniqueHandle told(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    HANDLE event = told.get();
    const double start = Now();
    FactsWorker worker([event] { SetEvent(event); }, cache);
    std::vector<std::wstring> lines;
    for (const std::wstring& file : files)
        lines.push_back(L"\"" + file + L"\" /background");
    worker.Ask(lines);
    size_t signatures = 0;
    while (signatures < files.size() && WaitForSingleObject(event, 120000) == WAIT_OBJECT_0)
        signatures += worker.TakeAnswers().signatures.size();
    return signatures == files.size() ? Now() - start : -1;
}

// Milliseconds of processor time this thread has used.
double ThreadCpu()
{
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

double MedianTime(const std::function<int()>& run, int& result)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i)
    {
        const double start = Now();
        result = run();
        times.push_back(Now() - start);
    }
    return Median(times);
}

void WriteRunEntries(const wchar_t* folder)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, (bench::RunKeyBase + L"Run").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &key, nullptr);
    for (int i = 0; i < Files; ++i)
    {
        wchar_t name[64];
        swprintf(name, 64, L"Vendor%04d Helper", i);
        const std::wstring data = L"\"" + FileName(i, folder) + L"\" /background";
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

int Clean(const std::vector<std::wstring>& files, const std::wstring& cache)
{
    bench::ResetPrefixState();
    platform::RemoveFile(cache, true);
    for (const std::wstring& file : files)
    {
        platform::RemoveFile(file, true);
        RemoveDirectoryW(file.substr(0, file.find_last_of(L'\\')).c_str());
    }
    RemoveDirectoryW(Folder.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // --checks: the first part alone, for trying a change to the checks.
    const bool checksOnly = argc > 1 && std::string(argv[1]) == "--checks";
    const std::wstring benchFolder = platform::ProgramFolder();
    const std::wstring buildFolder = benchFolder.substr(0, benchFolder.find_last_of(L'\\'));
    const std::wstring ravelin = buildFolder + L"\\Ravelin\\Ravelin.exe";
    const std::wstring floor = benchFolder + L"\\FloorMain.exe";
    const std::wstring cache = benchFolder + L"\\bench_trust.cache";
    bench::ResetPrefixState();
    const std::vector<std::wstring> files = MakeFiles(buildFolder);
    BareChecks({files.front()}); // the trust providers loaded before anything is timed

    int bareVerified = 0, judgedVerified = 0, checkerVerified = 0, known = 0;
    // Wall-clock and this thread's processor time: on a shared machine the second varies less.
    struct Times
    {
        std::vector<double> wall, cpu;
    } bare, judged, alone;
    const auto timed = [](Times& times, const std::function<int()>& run) {
        const double start = Now(), startCpu = ThreadCpu();
        const int result = run();
        times.wall.push_back(Now() - start);
        times.cpu.push_back(ThreadCpu() - startCpu);
        return result;
    };
    for (int i = 0; i < Runs; ++i) // in turn, so that all see the same load
    {
        bareVerified = timed(bare, [&] { return BareChecks(files); });
        judgedVerified = timed(judged, [&] { return JudgedChecks(files, cache); });
        checkerVerified = timed(alone, [&] { return CheckerAlone(files); });
    }
    const double cached = MedianTime([&] { return KnownFromCache(files, cache); }, known);
    std::vector<double> worker;
    for (int i = 0; i < Runs; ++i)
        worker.push_back(WorkerToLastSignature(files, cache));
    std::printf(
        "Signatures of %d entries naming %d different files: 80%% signed, 10%% changed after signing, "
        "10%% unsigned (ms: median and least of %d runs, in turn)\n",
        Files, Files, Runs);
    std::printf("  %-62s %8s %8s %8s %8s\n", "", "median", "least", "cpu", "cpu least");
    const auto line = [](const char* what, const Times& times, int count) {
        std::printf("  %-62s %8.1f %8.1f %8.1f %8.1f   %d verified\n", what, Median(times.wall),
                    Least(times.wall), Median(times.cpu), Least(times.cpu), count);
    };
    line("bare WinVerifyTrust calls (and the catalog lookup of the unsigned)", bare, bareVerified);
    line("the program's checks, stamps and cache saved", judged, judgedVerified);
    line("  of which the checks alone", alone, checkerVerified);
    std::printf(
        "  ratio of the program's to the bare calls: median %.2fx, least %.2fx; processor time: median "
        "%.2fx, least %.2fx\n",
        Median(judged.wall) / Median(bare.wall), Least(judged.wall) / Least(bare.wall),
        Median(judged.cpu) / Median(bare.cpu), Least(judged.cpu) / Least(bare.cpu));
    std::printf("  %-62s %8.1f %8s   %d known\n", "the same files known from the cache at the next start",
                cached, "", known);
    std::printf("  %-62s %8.1f %8.1f\n", "the facts worker, from the questions to the last signature",
                Median(worker), Least(worker));

    if (checksOnly)
        return Clean(files, cache);
    // The starts: the cache emptied before each cold start, left full for each warm one.
    struct Case
    {
        const char* name;
        const std::wstring* program;
        const wchar_t* folder;
        bool emptyCache;
    };
    const std::wstring gone = L"C:\\RavBenchGone";
    const Case cases[] = {{"Ravelin.exe, files not there (no signature)", &ravelin, gone.c_str(), true},
                          {"Ravelin.exe, signed files, cache empty", &ravelin, Folder.c_str(), true},
                          {"Ravelin.exe, signed files, cache full", &ravelin, Folder.c_str(), false},
                          {"same-controls floor, signed files", &floor, Folder.c_str(), false}};
    std::vector<std::vector<double>> painted(std::size(cases)), ready(std::size(cases));
    const std::wstring programCache = SignatureCachePath();
    for (int run = 0; run < Runs; ++run)
        for (size_t c = 0; c < std::size(cases); ++c)
        {
            bench::ResetPrefixState();
            WriteRunEntries(cases[c].folder);
            if (!cases[c].emptyCache)
                JudgedChecks(files, programCache);
            const bench::Start started = bench::StartProgram(
                *cases[c].program,
                cases[c].program == &floor ? bench::Until::Interactive : bench::Until::StartWorkDone);
            painted[c].push_back(started.painted);
            ready[c].push_back(started.interactive);
        }
    std::printf("\nStart with %d run entries (ms: median and least of %d runs, in turn)  first paint      "
                "interactive\n",
                Files, Runs);
    for (size_t c = 0; c < std::size(cases); ++c)
        std::printf("  %-52s %8.1f %8.1f %8.1f %8.1f\n", cases[c].name, Median(painted[c]), Least(painted[c]),
                    Median(ready[c]), Least(ready[c]));
    std::printf(
        "  first paint, signed files and cache empty over files not there: median %.2fx, least %.2fx\n",
        Median(painted[1]) / Median(painted[0]), Least(painted[1]) / Least(painted[0]));

    return Clean(files, cache);
}
