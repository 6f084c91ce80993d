// Texts that are never translated: registry places, file names, window classes.
#pragma once

namespace platform::names
{

inline constexpr wchar_t AppTitle[] = L"Brightfold Ravelin";
inline constexpr wchar_t SettingsKey[] = L"Software\\Brightfold\\Language";
inline constexpr wchar_t SettingsValue[] = L"Name";
// The window's on-off choices, remembered for the user.
inline constexpr wchar_t ViewSettingsKey[] = L"Software\\Brightfold\\View";
inline constexpr wchar_t HideWindowsSetting[] = L"HideWindowsEntries";
inline constexpr wchar_t HideVerifiedSetting[] = L"HideVerifiedEntries";
inline constexpr wchar_t InstanceMutex[] = L"Local\\Brightfold.Ravelin.Instance";
// Held by every apply, of the window or the command line, of any user: the store is shared.
inline constexpr wchar_t ApplyLock[] = L"Brightfold.Ravelin.Apply";
inline constexpr wchar_t RunKeyBase[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
// Where Windows keeps its own on/off switch for entries of some places, in the user's registry for
// the user's places and in the machine's for the machine's.
inline constexpr wchar_t ApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";
inline constexpr wchar_t LangFolder[] = L"\\Lang";
inline constexpr wchar_t PackSection[] = L"Brightfold Language Pack";
inline constexpr wchar_t DefaultPack[] = L"English.ini";
inline constexpr wchar_t SkinFile[] = L"\\Title.skn";
inline constexpr wchar_t ErrorLogFile[] = L"\\errorlog.txt";
inline constexpr wchar_t StoreFile[] = L"\\SaveProf.pro";
// The Run value that starts the launcher of delayed entries, in the user's Run key for the user's
// places and in the machine's for the machine's; the launcher beside Ravelin.exe.
inline constexpr wchar_t LauncherValue[] = L"Brightfold Ravelin delayed start";
inline constexpr wchar_t LauncherFile[] = L"\\RavelinStart.exe";
// The user's own store and shortcut copies, for the entries of the user's places, are kept in
// this folder of the user's roaming application data: another user never sees or drops them.
inline constexpr wchar_t UserDataFolder[] = L"\\Brightfold";
// What the signatures of files were found to be, kept across starts beside the user's store, and
// the lock its writers take.
inline constexpr wchar_t SignatureCacheFile[] = L"\\Signatures.cache";
inline constexpr wchar_t SignatureCacheLock[] = L"Brightfold.Ravelin.Signatures";
// The record of the last logons' processes our own watcher keeps beside the store, and the folder
// under the Windows folder where Windows keeps its own, for each user.
inline constexpr wchar_t LogonImpactFile[] = L"\\LogonImpact.xml";
inline constexpr wchar_t StartupInfoFolder[] = L"\\System32\\WDI\\LogFiles\\StartupInfo";
// The watcher that measures the next logon, in the program folder, and the value of the user's
// Run key that starts it once.
inline constexpr wchar_t WatchProgramFile[] = L"\\RavelinWatch.exe";
inline constexpr wchar_t WatchRunValue[] = L"Brightfold Ravelin Logon Watch";
// The store as an older build wrote it, kept when this build read it realigned.
inline constexpr wchar_t StoreBackupFile[] = L"\\SaveProf.old";
// Exact copies of the entries the store holds: registry and win.ini values under this key of the
// registry of their place (the user's, or the machine's), shortcuts in this folder beside the
// store that holds them; one subkey or folder per source.
inline constexpr wchar_t CopiesKey[] = L"Software\\Brightfold\\Disabled\\";
inline constexpr wchar_t CopiesFolder[] = L"\\SaveProf.bak\\";
// How each service this program disabled started before, beside the store.
inline constexpr wchar_t ServiceStartsFile[] = L"\\SaveServ.pro";
// The Load From of a service's row in a profile; an identifier, in every language.
inline constexpr wchar_t ServiceLoadFrom[] = L"Service";
// The Load From of a scheduled task's profile record, and the PLACE of the command line that names tasks.
inline constexpr wchar_t TaskLoadFrom[] = L"Task";
// Where the registry keeps a service, under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t ServicesKey[] = L"SYSTEM\\CurrentControlSet\\Services\\";
inline constexpr wchar_t WinIniFile[] = L"\\win.ini";
// The section of win.ini whose Load and Run lines start programs.
inline constexpr wchar_t WinIniSection[] = L"Windows";
inline constexpr wchar_t RegistryEditorFile[] = L"\\regedit.exe";
// The registry editor opens at the key named here.
inline constexpr wchar_t RegistryEditorKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
inline constexpr wchar_t RegistryEditorLastKey[] = L"LastKey";
inline constexpr wchar_t MainWindowClass[] = L"Brightfold.Ravelin.Main";
inline constexpr wchar_t AboutWindowClass[] = L"Brightfold.Ravelin.About";
inline constexpr wchar_t AddTaskWindowClass[] = L"Brightfold.Ravelin.AddTask";

} // namespace platform::names
