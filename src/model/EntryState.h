// An entry's state, as every rule of the program tests it, and the words it is shown or kept by.
#pragma once
#include "i18n/Keys.h"

#include <cstddef>
#include <string>

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
