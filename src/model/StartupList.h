// The startup list: its rows, addressed from 1, and the selected row.
#pragma once
#include "model/EntryState.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

// The columns the list shows, in their order.
enum Column
{
    TaskName = 0,
    Status,
    LoadFrom,
    User,
    When,
    Location,
    ColumnCount
};

// A row's place when a file names one this build does not know.
inline constexpr int UnknownSource = -1;

// One entry: its exact name and command, and its state and place as typed values. The words of
// its Status, Load From, User and When? come from the pack only where a person reads them.
struct StartupEntry
{
    std::wstring name;     // exact: a registry value's name keeps the blanks around it
    std::wstring location; // the command line, or the shortcut's target
    EntryState state = EntryState::Enabled;
    int source = UnknownSource; // its place in StartupSources
    // Delayed: the launcher starts it this many seconds after the logon, in this order (from 1).
    int delaySeconds = 0;
    int delayOrder = 0;
    // Delayed while the launcher's own Run value is gone: nothing starts it. Known only to the fill.
    bool launcherMissing = false;
    // Appended by Add Task: its User and When? say so.
    bool added = false;
    // Still in its source, but switched off by Windows' own switch where Windows honours it (by its
    // startup settings, or by an apply of this program): shown disabled and never held in the
    // store; enabling it switches it on again. Known only to the scan that saw it and the
    // apply that switched it: files keep the six texts alone.
    bool disabledByWindows = false;
    // Switched off by Windows' own switch where the system starts it all the same (Wine, Windows
    // before 8): enabled, and shown so with the switch; a Disable takes it out into the store like
    // any other, its switch left as it was, so that an Enable puts it back exactly. Known only to
    // the scan that saw it.
    bool switchOffIgnored = false;
    // Back in its source, written there again by its program while the store held it taken out:
    // the stored record waits for the user's next apply of this row, which replaces or drops it.
    bool alsoStored = false;
    // An entry of the user's own places that the store all users share holds, as older builds
    // kept them all there: it stays in that store, whose user it is no file says, until it leaves.
    bool sharedStore = false;
    // Load From, User and When? as a file wrote them, for a place this build does not know: they
    // are written back as they were read.
    std::shared_ptr<const std::array<std::wstring, 3>> unknownPlace;

    // The same entry in the same state: name, command, state (with a delay's seconds and order)
    // and place.
    bool operator==(const StartupEntry& other) const;
};
// A row held outside the list.
using EntryRecord = StartupEntry;

class StartupList
{
  public:
    int Count() const { return static_cast<int>(rows_.size()); }
    // Appends the row; returns its position.
    int Append(StartupEntry row);
    void AppendRow(const StartupEntry& row) { rows_.push_back(row); }
    void SetState(int position, EntryState state);
    void SetDelay(int position, int seconds, int order);
    void SetDisabledByWindows(int position, bool off);
    void SetAlsoStored(int position, bool stored);
    void SetLauncherMissing(int position, bool missing);
    const StartupEntry& Row(int position) const { return rows_[static_cast<size_t>(position - 1)]; }
    EntryState State(int position) const { return Row(position).state; }
    bool Remove(int position);
    // Removes every row in state and, in the same pass, the record at its place in records, which
    // holds one record per row.
    void RemoveRowsIn(EntryState state, std::vector<StartupEntry>& records);
    void Clear();

    // 0 when no row is selected.
    int Selected() const { return selected_; }
    void Select(int position);

  private:
    std::vector<StartupEntry> rows_;
    int selected_ = 0;
};
