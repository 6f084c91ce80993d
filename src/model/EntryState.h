// An entry's state, as every rule of the program tests it, and the words it is shown or kept by.
#pragma once
#include "i18n/Keys.h"

#include <cstddef>
#include <string>
#include <string_view>

// The kinds of entry the program manages.
enum class EntryKind : unsigned char
{
    Startup,
    Service,
    Task,
};

enum class EntryState : unsigned char
{
    Enabled,
    Disabled,
    Remove,
    Delayed,
};
inline constexpr size_t StateCount = 4;

// Disabled and Delayed entries are out of their places, each kept in the store as an exact copy.
inline bool KeptInStore(EntryState state)
{
    return state == EntryState::Disabled || state == EntryState::Delayed;
}

// A delayed entry's wait after the logon, in seconds: a day at most.
inline constexpr int DefaultDelaySeconds = 30;
inline constexpr int MaxDelaySeconds = 86400;
inline constexpr int MaxDelayOrder = 9999;
// A whole number from 1 to most, in decimal digits alone; false for any other text.
bool ParseCount(std::wstring_view text, int most, int& value);

// What the Disable and Remove buttons offer for the selected row of a view.
struct RowButtons
{
    bool offersEnable = false; // the Disable button enables the row
    bool removeEnabled = true;
};

// The pack key of the state's word, with its English text.
const keys::KeyText& StateKey(EntryState state);
// The word this language shows.
std::wstring StateWord(EntryState state);
// The word scripts read in every language: "enabled", "disabled", "remove", "delayed".
const wchar_t* ScriptStateWord(EntryState state);
