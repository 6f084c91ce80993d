// The places Windows starts programs from, in one table that the scanners, the writers, Add Task
// and the store share; the words their rows show.
#pragma once
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "model/StartupList.h"
#include "platform/Registry.h"

#include <windows.h>
#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// Keys and English texts of the User and When? columns of a source.
struct SourceWordKeys
{
    keys::KeyText user, when;
};
namespace sourcewords
{
inline constexpr SourceWordKeys UserRegistry{keys::CurrentUser, keys::CurrentUserLogsOnOfRunKeys};
inline constexpr SourceWordKeys UserStartUp{keys::CurrentUser, keys::CurrentUserLogsOn};
inline constexpr SourceWordKeys Machine{keys::AllUsers, keys::AnyUserLogsOn};
inline constexpr SourceWordKeys WinIniRun{keys::AllUsersOfWinIniRun, keys::AnyUserLogsOn};
} // namespace sourcewords

enum class SourceKind
{
    Registry,
    StartUp,
    WinIni
};

// One place Windows starts programs from.
struct StartupSource
{
    // The English Load From; also names the copies kept of the entries taken out of it.
    const wchar_t* id = nullptr;
    // Its short name for scripts, accepted by the command line in any case.
    const wchar_t* shortName = nullptr;
    SourceKind kind = SourceKind::Registry;
    HKEY root = nullptr;          // Registry
    const wchar_t* key = nullptr; // Registry: the key under Software\Microsoft\Windows\CurrentVersion;
                                  // WinIni: the key of section Windows
    REGSAM view = 0;              // Registry: KEY_WOW64_32KEY for the keys of 32-bit programs
    int csidl = 0;                // StartUp: the folder
    // The subkey of Explorer\StartupApproved where Windows keeps its own switch for each entry, or
    // none; in the registry of the place's owner (OwnerRoot).
    const wchar_t* approved = nullptr;
    const wchar_t* nameKey = nullptr; // pack key of its localized name (SourceNames), or none
    // One of the first machine keys: its rows say key 419's word followed by "(Machine <key>)", and
    // the writers know them by the identifier only, in every language.
    bool machineKey = false;
    // Windows runs the commands of its subkeys (0001, 0002, ...) as well: an entry there is named
    // "<subkey>\<value>". Its own Flags and Title values are settings, never entries.
    bool sections = false;
    SourceWordKeys words{};
    bool addTask = false; // offered by the Add Task dialog
};

// The registry keys in the order the list shows them, then the StartUp folders and win.ini: the
// list shows the registry rows, then win.ini's, then the StartUp folders'.
inline constexpr size_t SourceCount = 14;
extern const std::array<StartupSource, SourceCount> StartupSources;

// Each source's localized name, by its place in the table: the pack's text of its name key, or
// its identifier when it has none.
using SourceNameTable = std::array<std::wstring, SourceCount>;
void LoadSourceNames(SourceNameTable& table);
// The Load From its rows show.
std::wstring ScannedLoadFrom(size_t source, const SourceNameTable& names);

// Where a registry entry of the source lives: its key under the root and its value's name. In a
// source with sections, a name with a backslash is "<subkey>\<value>".
struct RegistryAddress
{
    std::wstring keyPath, valueName;
};
RegistryAddress AddressOf(const StartupSource& source, const std::wstring& taskName);
// A value of the source's own key that configures the place instead of starting a program.
bool IsPlaceSetting(const StartupSource& source, const std::wstring& valueName);

// A place of the user's own (the user's registry, the user's StartUp folder): its entries taken
// out are kept where no other user of the machine sees or drops them.
bool OfTheUser(const StartupSource& source);
// The registry of the place's owner, the user's or the machine's: where Windows keeps its switches
// for the place's entries, and this program the exact copies of those it took out.
HKEY OwnerRoot(const StartupSource& source);
// Where the exact copy of an entry taken out of the source is kept while the store holds it: the
// row's text (a value's rendered data, a shortcut's bare target) does not always give the entry
// back as it was. Registry and win.ini values under a key of the registry of the place's owner
// (the user's, or the machine's); shortcuts in a folder beside the store that holds the entry.
// Older builds kept every copy in the user's registry and the Windows folder (older).
struct CopyPlace
{
    HKEY root;
    std::wstring key, folder; // folder: of a StartUp source only
};
CopyPlace ExactCopyPlace(const StartupSource& source, bool older = false);
// The exact copy of a value or win.ini line of the source, where it is kept or an older build kept
// it, read through reg (which keeps the key open for the next one).
DWORD ReadExactCopy(const StartupSource& source, const std::wstring& taskName, platform::RegValue& copy,
                    platform::Reg& reg);
// The index in StartupSources of the source whose English identifier or localized name is loadFrom.
int SourceIndexOf(const std::wstring& loadFrom, const SourceNameTable& names);

// The row of an entry a scanner found in source.
StartupEntry ScannedEntry(size_t source, std::wstring name, std::wstring location);

// The words of the list's columns, looked up once for a language: by state, and by place.
struct ListWords
{
    std::array<std::wstring, StateCount> states;
    // The Status of an entry Windows switched off where its start ignores the switch: it starts,
    // it is enabled, and the words say why the switch does not count.
    std::wstring offButStarts;
    bool switchIgnored = false;
    // Of a delayed row: its word with its seconds and order (%1..%3), and the same with no launcher.
    std::wstring delayedFormat, launcherMissingFormat;
    SourceNameTable loadFrom, user, when;
    // Of a row Add Task appended: the user's own Run key's, and any other place's.
    std::wstring addedUser, addedAllUsers, addedWhen;
};
// The chosen pack's words; with english, the English ones that files keep, in every language.
ListWords LoadListWords(bool english = false);
// The text the list shows in a column of row: the Task Name without the blanks around it.
std::wstring RowText(const StartupEntry& row, int column, const ListWords& words);

// Windows' own switch for an entry, the binary value named like it under StartupApproved: its
// first byte says off when its lowest bit is set (03; 02 and 06 are on). Windows writes twelve
// bytes, the state then the time it was switched off; a shorter value, like none, is on.
bool SwitchedOffByWindows(const std::vector<BYTE>& flag);
// The same flag switched on, as Windows writes it: the state without the off bit, no time.
std::vector<BYTE> SwitchedOn(std::vector<BYTE> flag);
// A flag switched off at a time, as Windows' own startup settings write it.
std::vector<BYTE> SwitchedOff(FILETIME when);
// The name of an entry's switch: a registry value's own name, a StartUp shortcut's file name.
std::wstring SwitchName(const StartupSource& source, const std::wstring& taskName);
// Windows' switches as one fill reads them: each key of switches once, when first needed.
class WindowsSwitches
{
  public:
    // Shows the row of a scanned entry as Windows has it when Windows switched it off: still in
    // its source, but disabled. switchName is a registry value's exact name, a StartUp file's
    // whole name.
    void Mark(StartupEntry& row, const StartupSource& source, const std::wstring& switchName);
    // Whether Windows has the entry switched off; each place's switches are read once.
    bool Off(const StartupSource& source, const std::wstring& switchName);

  private:
    // By root and key, names folded.
    std::unordered_map<std::wstring, std::unordered_set<std::wstring>> off_;
};
