// Seeds a Wine prefix with typical startup entries in every place, three of them switched off by
// Windows' own StartupApproved flag (one of the user's, two of the machine's), for the demo of
// ./run, and installs the small programs of fictional vendors (built beside this program, in demo\)
// where most of the entries point, and services of theirs. Run once per prefix; with --run-once
// only the programs, the services that are missing and the RunOnce entries, which a Wine start
// runs and takes out as a logon does; the vendors' scheduled tasks, and the entries of the signed
// programs. Two entries, one service and one task stay pointing at files that are gone.
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Names.h"
#include "platform/Places.h"
#include "platform/Services.h"
#include "platform/Shortcuts.h"

#include <shlobj.h>
#include <winsvc.h>

#include <cstdio>
#include <string>

namespace
{

const std::wstring Base = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

void SetValue(HKEY root, const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
              DWORD size, REGSAM view = 0)
{
    HKEY handle;
    if (RegCreateKeyExW(root, (Base + key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &handle,
                        nullptr))
        return;
    RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

void SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& data,
               DWORD type = REG_SZ, REGSAM view = 0)
{
    SetValue(root, key, name, type, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)),
             view);
}

void SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value)
{
    SetValue(root, key, name, REG_DWORD, &value, sizeof(value));
}

// Where each demo program goes: the program file the seeded entries name.
struct Installed
{
    const wchar_t* program;
    const wchar_t* path;
};
const Installed DemoPrograms[] = {
    {L"syncdrive", L"C:\\Program Files\\SyncDrive\\syncdrive.exe"},
    {L"kbtray", L"C:\\Program Files\\Keyboard Tray\\kbtray.exe"},
    {L"chatnow", L"C:\\Users\\Public\\ChatNow\\chatnow.exe"},
    {L"audiotray", L"%ProgramFiles%\\AudioSuite\\audiotray.exe"},
    {L"prnmon", L"C:\\Program Files\\PrintCo\\prnmon.exe"},
    {L"cleanup", L"C:\\Program Files (x86)\\PrintCo\\cleanup.exe"},
    {L"agent", L"C:\\Program Files\\SafeCopy\\agent.exe"},
    {L"import", L"C:\\Program Files (x86)\\PhotoBox\\import.exe"},
    {L"widget", L"C:\\Program Files\\Weather\\widget.exe"},
    {L"teamcal", L"C:\\Program Files\\TeamCal\\teamcal.exe"},
    {L"notes", L"C:\\Tools\\notes.exe"},
    {L"helper", L"C:\\Tools\\helper.exe"},
    {L"tour", L"C:\\Users\\Public\\Tour\\tour.exe"},
    {L"proxyhelper", L"C:\\Corp\\proxyhelper.exe"},
    {L"inventory", L"C:\\Corp\\inventory.exe"},
    // Signed at build time (demo\signed): by its vendor; changed after its vendor signed it; naming
    // Microsoft as its publisher while someone else signed it. The clipboard tool is unsigned.
    {L"signed\\vault", L"C:\\Program Files\\Keystone\\vault.exe"},
    {L"signed\\meter", L"C:\\Program Files\\Tallyho\\meter.exe"},
    {L"signed\\winhelper", L"C:\\Users\\Public\\Helpers\\winhelper.exe"},
    {L"clipper", L"C:\\Tools\\clipper.exe"},
};

// Copies each program into place, also into a prefix seeded before there were programs.
void InstallDemoPrograms()
{
    const std::wstring built = platform::ProgramFolder() + L"\\demo\\";
    for (const Installed& p : DemoPrograms)
    {
        wchar_t path[MAX_PATH];
        if (!ExpandEnvironmentStringsW(p.path, path, MAX_PATH))
            continue;
        const std::wstring target = path;
        platform::CreateFolderPath(target.substr(0, target.find_last_of(L'\\')));
        if (!CopyFileW((built + p.program + L".exe").c_str(), target.c_str(), FALSE))
            std::printf("cannot install %ls (error %lu)\n", target.c_str(), GetLastError());
    }
}

// The vendors' services, each made once: a running one, one disabled by its vendor's tool (so
// nothing remembers how it started), one started by hand, one whose program is gone.
struct DemoService
{
    const wchar_t* name;
    const wchar_t* displayName;
    const wchar_t* program; // built beside this program; none for the one whose file is gone
    const wchar_t* path;
    DWORD start;
    const wchar_t* description;
};
const DemoService DemoServices[] = {
    {L"SyncDriveUpdate", L"SyncDrive Update Service", L"syncsvc",
     L"C:\\Program Files\\SyncDrive\\syncsvc.exe", SERVICE_AUTO_START, L"Keeps SyncDrive up to date."},
    {L"PrintCoSpooler", L"PrintCo Spooler Helper", L"printsvc", L"C:\\Program Files\\PrintCo\\printsvc.exe",
     SERVICE_AUTO_START, L"Sends print jobs to PrintCo printers."},
    {L"SafeCopyScheduler", L"SafeCopy Backup Scheduler", L"backupsvc",
     L"C:\\Program Files\\SafeCopy\\backupsvc.exe", SERVICE_DEMAND_START,
     L"Runs the backups SafeCopy plans."},
    {L"HaldenRemote", L"Halden Remote Support", L"remotesvc", L"C:\\Corp\\remotesvc.exe", SERVICE_DISABLED,
     L"Lets the Halden help desk see this desktop."},
    {L"KestrelTelemetry", L"Kestrel Telemetry", nullptr, L"C:\\Program Files\\Kestrel\\telemetry.exe",
     SERVICE_DEMAND_START, L"Sends usage reports to Kestrel Computers."},
};

void InstallDemoServices()
{
    platform::UniqueServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    if (!manager)
        return;
    const std::wstring built = platform::ProgramFolder() + L"\\demo\\";
    for (const DemoService& d : DemoServices)
    {
        const std::wstring path = d.path;
        if (d.program)
        {
            platform::CreateFolderPath(path.substr(0, path.find_last_of(L'\\')));
            // A running service holds its file: it is copied only when missing.
            CopyFileW((built + d.program + L".exe").c_str(), path.c_str(), TRUE);
        }
        platform::UniqueServiceHandle service(
            CreateServiceW(manager.get(), d.name, d.displayName, SERVICE_ALL_ACCESS,
                           SERVICE_WIN32_OWN_PROCESS, d.start, SERVICE_ERROR_NORMAL,
                           (L"\"" + path + L"\"").c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
        if (!service)
            continue; // made before
        SERVICE_DESCRIPTIONW description{const_cast<wchar_t*>(d.description)};
        ChangeServiceConfig2W(service.get(), SERVICE_CONFIG_DESCRIPTION, &description);
        if (d.start == SERVICE_AUTO_START)
            StartServiceW(service.get(), 0, nullptr);
    }
}

// The vendors' scheduled tasks, as Windows writes their files (UTF-16 after a byte-order mark):
// two of a logon, one of the machine's start, hidden, one daily (listed only with every task), one
// disabled by its vendor, and one whose program is gone.
struct DemoTask
{
    const wchar_t* path; // under System32\Tasks
    const wchar_t* trigger;
    const wchar_t* command;
    const wchar_t* arguments;
    bool enabled, hidden;
};
const DemoTask DemoTasks[] = {
    {L"SyncDrive\\SyncDrive Logon Sync", L"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>",
     L"C:\\Program Files\\SyncDrive\\syncdrive.exe", L"/sync", true, false},
    {L"Halden\\Inventory at Startup", L"<BootTrigger><Enabled>true</Enabled></BootTrigger>",
     L"C:\\Corp\\inventory.exe", L"-scan", true, true},
    {L"PhotoBox\\Nightly Import",
     L"<CalendarTrigger><StartBoundary>2024-01-01T02:00:00</StartBoundary><ScheduleByDay><DaysInterval>1</"
     L"DaysInterval>"
     L"</ScheduleByDay></CalendarTrigger>",
     L"C:\\Program Files (x86)\\PhotoBox\\import.exe", L"/nightly", true, false},
    {L"Toolsmith Update Check", L"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>",
     L"C:\\Tools\\helper.exe", L"--check", false, false},
    {L"Kestrel\\Telemetry Upload", L"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>",
     L"C:\\Program Files\\Kestrel\\upload.exe", L"", true, false},
};

// Each task file written once: a task changed in the demo stays as the user left it.
void InstallDemoTasks()
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const DemoTask& t : DemoTasks)
    {
        const std::wstring file = std::wstring(system) + L"\\Tasks\\" + t.path;
        if (platform::FileExists(file))
            continue;
        platform::CreateFolderPath(file.substr(0, file.find_last_of(L'\\')));
        const std::wstring xml =
            L"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
            L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
            L"  <RegistrationInfo><URI>\\" +
            std::wstring(t.path) + L"</URI></RegistrationInfo>\r\n  <Triggers>" + t.trigger +
            L"</Triggers>\r\n  <Settings><Enabled>" + (t.enabled ? L"true" : L"false") +
            L"</Enabled><Hidden>" + (t.hidden ? L"true" : L"false") +
            L"</Hidden></Settings>\r\n  <Actions Context=\"Author\"><Exec><Command>" + t.command +
            L"</Command><Arguments>" + t.arguments + L"</Arguments></Exec></Actions>\r\n</Task>\r\n";
        platform::ReplaceFileAtomically(
            file, std::string(reinterpret_cast<const char*>(xml.data()), xml.size() * sizeof(wchar_t)));
    }
}

// The signed programs' entries, also in a prefix seeded before there were any.
void SetSignedEntries()
{
    SetString(HKEY_CURRENT_USER, L"Run", L"Keystone Vault",
              L"\"C:\\Program Files\\Keystone\\vault.exe\" /tray");
    SetString(HKEY_CURRENT_USER, L"Run", L"Tallyho Meter", L"C:\\Program Files\\Tallyho\\meter.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"Windows Helper", L"C:\\Users\\Public\\Helpers\\winhelper.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"Snipwell Clipper", L"C:\\Tools\\clipper.exe --hidden");
}

// Wine's start runs and deletes RunOnce entries as a logon does, so ./run writes them again.
void SetRunOnce()
{
    SetString(HKEY_LOCAL_MACHINE, L"RunOnce", L"FinishSetup", L"C:\\Windows\\Temp\\setup\\finish.exe /quiet");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnce", L"DriverCleanup",
              L"C:\\Program Files (x86)\\PrintCo\\cleanup.exe", REG_SZ, KEY_WOW64_32KEY);
    SetString(HKEY_CURRENT_USER, L"RunOnce", L"WelcomeTour",
              L"C:\\Users\\Public\\Tour\\tour.exe --first-run");
}

// A record of the last logon, as our own watcher writes it, so that the Impact column has figures:
// a mix of classes, and ChatNow not in it. Kept once written.
void WriteLogonRecord()
{
    const std::wstring folder = platform::UserDataFolder(), file = folder + platform::names::LogonImpactFile;
    if (platform::FileExists(file))
        return;
    struct Process
    {
        const char* program;
        const char* arguments;
        unsigned long long diskBytes, cpuMicroseconds;
    } const processes[] = {
        {"C:\\Program Files\\SyncDrive\\syncdrive.exe", " /background", 6291456, 2100000},
        {"C:\\Program Files\\SyncDrive\\syncdrive.exe", " /worker", 524288, 150000},
        {"C:\\Program Files\\Keyboard Tray\\kbtray.exe", "", 409600, 120000},
        {"C:\\Program Files\\AudioSuite\\audiotray.exe", "", 65536, 40000},
        {"C:\\Program Files\\Keystone\\vault.exe", " /tray", 1048576, 1400000},
        {"C:\\Program Files\\Tallyho\\meter.exe", "", 131072, 450000},
        {"C:\\Tools\\helper.exe", "", 20480, 15000},
        {"C:\\Program Files\\Weather\\widget.exe", "", 2097152, 600000},
        {"C:\\Tools\\clipper.exe", " --hidden", 12288, 9000},
    };
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<StartupData>\r\n";
    int pid = 1200;
    for (const Process& p : processes)
    {
        char text[1024];
        std::snprintf(text, sizeof(text),
                      "  <Process Name=\"%s\" PID=\"%d\" StartTime=\"2026-12-08T08:00:05.0000000Z\">\r\n"
                      "    <StartTime>2026-12-08T08:00:05.0000000Z</StartTime>\r\n"
                      "    <CommandLine>\"%s\"%s</CommandLine>\r\n"
                      "    <DiskUsage Units=\"bytes\">%llu</DiskUsage>\r\n"
                      "    <CpuUsage Units=\"us\">%llu</CpuUsage>\r\n"
                      "    <ParentPID>1100</ParentPID>\r\n"
                      "    <ParentStartTime>2026-12-08T08:00:01.0000000Z</ParentStartTime>\r\n"
                      "    <ParentName>explorer.exe</ParentName>\r\n  </Process>\r\n",
                      p.program, pid++, p.program, p.arguments, p.diskBytes, p.cpuMicroseconds);
        xml += text;
    }
    platform::CreateFolderPath(folder);
    platform::ReplaceFileAtomically(file, xml + "</StartupData>\r\n");
}

} // namespace

int main(int argc, char** argv)
{
    InstallDemoPrograms();
    WriteLogonRecord();
    InstallDemoServices();
    InstallDemoTasks();
    SetRunOnce();
    SetSignedEntries();
    if (argc > 1 && std::string(argv[1]) == "--run-once")
        return 0;
    platform::ComApartment com;

    SetString(HKEY_CURRENT_USER, L"Run", L"SyncDrive",
              L"\"C:\\Program Files\\SyncDrive\\syncdrive.exe\" /background");
    SetString(HKEY_CURRENT_USER, L"Run", L"  Padded Helper", L"C:\\Tools\\helper.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"", L"C:\\Program Files\\Keyboard Tray\\kbtray.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"ChatNow", L"C:\\Users\\Public\\ChatNow\\chatnow.exe --minimized");

    SetString(HKEY_LOCAL_MACHINE, L"Run", L"AudioTray", L"%ProgramFiles%\\AudioSuite\\audiotray.exe",
              REG_EXPAND_SZ);
    SetString(HKEY_LOCAL_MACHINE, L"Run", L"PrinterMonitor", L"C:\\Program Files\\PrintCo\\prnmon.exe -tray");
    SetDword(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Flags", 0x20);
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx\\0001", L"Step", L"C:\\Windows\\Temp\\step.exe");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Setup Cleanup",
              L"msiexec.exe /x {6F9A1C2E-3D4B-4B7D-9C1A-5E0D2B7A3F10} /qn");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Display Settings",
              L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl");
    SetString(HKEY_LOCAL_MACHINE, L"RunServices", L"BackupAgent", L"C:\\Program Files\\SafeCopy\\agent.exe");
    // 32-bit programs register in their own view of the machine's keys.
    SetString(HKEY_LOCAL_MACHINE, L"Run", L"PhotoImporter",
              L"\"C:\\Program Files (x86)\\PhotoBox\\import.exe\" /tray", REG_SZ, KEY_WOW64_32KEY);
    SetString(HKEY_CURRENT_USER, L"Policies\\Explorer\\Run", L"ProxyHelper", L"C:\\Corp\\proxyhelper.exe");
    SetString(HKEY_LOCAL_MACHINE, L"Policies\\Explorer\\Run", L"InventoryAgent",
              L"C:\\Corp\\inventory.exe -silent");
    // Switched off in Windows' own startup settings: still in their places, but not started by a
    // Windows that honours the switch. The machine's places have their switches in its registry.
    const BYTE off[12] = {3, 0, 0, 0, 0x5C, 0x1E, 0x7A, 0x3B, 0x9D, 0x44, 0xDA, 0x01};
    SetValue(HKEY_CURRENT_USER, L"Explorer\\StartupApproved\\Run", L"ChatNow", REG_BINARY, off, sizeof(off));
    SetValue(HKEY_LOCAL_MACHINE, L"Explorer\\StartupApproved\\Run", L"PrinterMonitor", REG_BINARY, off,
             sizeof(off));
    SetValue(HKEY_LOCAL_MACHINE, L"Explorer\\StartupApproved\\StartupFolder", L"Team Calendar.lnk",
             REG_BINARY, off, sizeof(off));

    const std::wstring winIni = platform::GetWindowsFolder() + L"\\win.ini";
    WritePrivateProfileStringW(L"Windows", L"Load", L"%SystemRoot%\\system32\\clock.exe", winIni.c_str());
    WritePrivateProfileStringW(
        L"Windows", L"Run", L"C:\\Tools\\notes.exe C:\\Tools\\todo.exe C:\\Tools\\timer.exe", winIni.c_str());

    const std::wstring user = platform::GetSpecialFolderPath(CSIDL_STARTUP);
    const std::wstring common = platform::GetSpecialFolderPath(CSIDL_COMMON_STARTUP);
    platform::WriteShortcut(user + L"\\Weather Widget.lnk", L"C:\\Program Files\\Weather\\widget.exe");
    platform::WriteShortcut(user + L"\\Daily Notes.lnk", L"C:\\Tools\\notes.exe");
    platform::WriteShortcut(common + L"\\Team Calendar.lnk", L"C:\\Program Files\\TeamCal\\teamcal.exe");

    std::printf("demo prefix seeded\n");
    return 0;
}
