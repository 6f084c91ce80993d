// Seeds a Wine prefix with typical startup entries in all nine places, for the demo of ./run.
// Run once per prefix. Most program paths do not exist, which the list shows; the few that do are
// Wine's own files, in places that a Wine start does not run.
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Shortcuts.h"

#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

const std::wstring Base = L"Software\\Microsoft\\Windows\\CurrentVersion\\";

void SetString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& data, DWORD type = REG_SZ)
{
    RegSetKeyValueW(root, (Base + key).c_str(), name, type, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void SetDword(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(root, (Base + key).c_str(), name, REG_DWORD, &value, sizeof(value));
}

} // namespace

int main()
{
    platform::ComApartment com;

    SetString(HKEY_CURRENT_USER, L"Run", L"SyncDrive", L"\"C:\\Program Files\\SyncDrive\\syncdrive.exe\" /background");
    SetString(HKEY_CURRENT_USER, L"Run", L"  Padded Helper", L"C:\\Tools\\helper.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"", L"C:\\Program Files\\Keyboard Tray\\kbtray.exe");
    SetString(HKEY_CURRENT_USER, L"Run", L"ChatNow", L"C:\\Users\\Public\\ChatNow\\chatnow.exe --minimized");

    SetString(HKEY_LOCAL_MACHINE, L"Run", L"AudioTray", L"%ProgramFiles%\\AudioSuite\\audiotray.exe", REG_EXPAND_SZ);
    SetString(HKEY_LOCAL_MACHINE, L"Run", L"PrinterMonitor", L"C:\\Program Files\\PrintCo\\prnmon.exe -tray");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnce", L"FinishSetup", L"C:\\Windows\\Temp\\setup\\finish.exe /quiet");
    SetDword(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Flags", 0x20);
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx\\0001", L"Step", L"C:\\Windows\\Temp\\step.exe");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Setup Cleanup",
              L"msiexec.exe /x {6F9A1C2E-3D4B-4B7D-9C1A-5E0D2B7A3F10} /qn");
    SetString(HKEY_LOCAL_MACHINE, L"RunOnceEx", L"Display Settings",
              L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl");
    SetString(HKEY_LOCAL_MACHINE, L"RunServices", L"BackupAgent", L"C:\\Program Files\\SafeCopy\\agent.exe");

    const std::wstring winIni = platform::GetWindowsFolder() + L"\\win.ini";
    WritePrivateProfileStringW(L"Windows", L"Load", L"%SystemRoot%\\system32\\clock.exe", winIni.c_str());
    WritePrivateProfileStringW(L"Windows", L"Run", L"C:\\Tools\\notes.exe C:\\Tools\\todo.exe C:\\Tools\\timer.exe",
                               winIni.c_str());

    const std::wstring user = platform::GetSpecialFolderPath(CSIDL_STARTUP);
    const std::wstring common = platform::GetSpecialFolderPath(CSIDL_COMMON_STARTUP);
    platform::WriteShortcut(user + L"\\Weather Widget.lnk", L"C:\\Program Files\\Weather\\widget.exe");
    platform::WriteShortcut(user + L"\\Daily Notes.lnk", L"C:\\Tools\\notes.exe");
    platform::WriteShortcut(common + L"\\Team Calendar.lnk", L"C:\\Program Files\\TeamCal\\teamcal.exe");

    std::printf("demo prefix seeded\n");
    return 0;
}
