// The writers that take one startup entry out of its source or put it (back) in: the registry
// run keys, the StartUp folders and win.ini, chosen by the entry's place.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "platform/Registry.h"

#include <windows.h>
#include <array>
#include <optional>
#include <string>
#include <vector>

// What a writer did with one entry.
struct WriteResult
{
    enum Outcome
    {
        Done,         // written, or taken out
        Absent,       // to be taken out, but its place did not hold it
        NoSource,     // its place is none of the sources: nothing was touched
        PlaceSetting, // it names a setting of its place, never an entry: nothing was touched
        Occupied,     // to be written, but its place holds another entry of that name: left as it is
        Failed,       // the system refused; error says why
    };
    Outcome outcome = Done;
    DWORD error = ERROR_SUCCESS;
};

// Where the entries of one source live.
struct SourcePlace
{
    SourceKind kind = SourceKind::Registry;
    HKEY root = nullptr;  // registry: the root key
    std::wstring keyPath; // registry: the key under the root
    int csidl = 0;        // StartUp: the shell folder
    std::wstring iniKey;  // win.ini: the value of section Windows
};

// The writers, with what they read of the registry kept from one entry to the next: an apply
// makes one for all its rows.
class SourceWriter
{
  public:
    explicit SourceWriter(platform::Reg& reg);
    // Without keepCopy (a removal) no exact copy is kept of the entry taken out.
    WriteResult RemoveFromSource(const EntryRecord& record, bool keepCopy = true);
    // Puts the entry in its place and, where Windows honours its own switch, switches that on where
    // it is off; an entry disabled by Windows that is still in its place is left there as it is.
    WriteResult WriteToSource(const EntryRecord& record);
    // Whether the entry's place holds an entry of its name (a registry value or a shortcut); and
    // whether it holds the entry as its text shows it, whatever its lines end with.
    bool InPlace(const EntryRecord& record);
    bool InPlaceAsShown(const EntryRecord& record);
    // Whether a Disable leaves the entry in its place and switches it off there: Windows honours
    // its switch, the entry's place has one, and the entry is in that place.
    bool DisablesBySwitch(const EntryRecord& record);
    // Writes Windows' switch for the entry off, as its startup settings do; the entry stays.
    WriteResult SwitchOff(const EntryRecord& record);
    // Deletes Windows' switch for an entry that is gone. Returns the system error.
    DWORD ForgetSwitch(const EntryRecord& record);
    // Drops the exact copies kept for the entries gone from the store, but those the stored
    // entries may need.
    void ForgetCopies(const std::vector<const EntryRecord*>& gone, const std::vector<EntryRecord>& stored);

  private:
    const StartupSource* SwitchedSource(const EntryRecord& record) const;
    bool InSource(const StartupSource& source, const std::wstring& taskName);
    std::optional<WriteResult> AlreadyThere(const StartupSource& source, const EntryRecord& record);
    WriteResult PutBack(const StartupSource& source, const EntryRecord& record);
    DWORD SwitchOnInWindows(const StartupSource& source, const std::wstring& taskName);
    // Whether an older build's copies of the source's entries may be where it kept them.
    bool OlderCopiesThere(size_t source);
    void SelectValue(const StartupSource& source, const std::wstring& taskName);
    void SelectCopy(const StartupSource& source, const std::wstring& name, bool older = false);
    DWORD KeepValueCopy(const StartupSource& source, const std::wstring& name, DWORD type,
                        const std::vector<BYTE>& data);

    platform::Reg& reg_;
    // The exact copies' keys, kept open from one entry to the next.
    platform::Reg copies_;
    WindowsSwitches switches_;
    std::array<signed char, SourceCount> olderCopies_ = [] {
        std::array<signed char, SourceCount> unknown;
        unknown.fill(-1);
        return unknown;
    }();
    // Built at the first entry of a source and kept for the next: its run key, where its copies
    // are kept (now and where an older build kept them), and the buffers of a value read.
    std::array<std::wstring, SourceCount> runKeys_;
    struct CopyKey
    {
        HKEY root = nullptr;
        std::wstring key;
    };
    std::array<std::array<CopyKey, 2>, SourceCount> copyKeys_;
    platform::RegValue value_;
};

// Where the entries of source live; none when it is no source.
std::optional<SourcePlace> FindSourcePlace(int source);

// The key stays in the section with an empty value. Return the system error.
DWORD ClearIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName);
DWORD WriteIniValue(const std::wstring& section, const std::wstring& key, const std::wstring& fileName,
                    const std::wstring& value);
// Creates the shortcut, or changes the target of an existing one; the whole target text is
// the target path. Returns the system error.
DWORD CreateShortcutFile(const std::wstring& shortcutPath, const std::wstring& target);
