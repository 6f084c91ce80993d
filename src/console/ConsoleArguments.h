// The command line of ravelinc.exe: its words, as Windows splits them, and the request they make.
#pragma once
#include "model/EntryState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One word of a command line; quoted when any part of it stood in quotes, which makes it a value
// even where it looks like a switch.
struct CommandWord
{
    std::wstring text;
    bool quoted = false;
};
// Blanks and tabs part the words; quotes group, "" inside quotes is one quote, and backslashes
// count only before a quote (2n of them give n and a quote that groups, 2n + 1 give n and a quote).
std::vector<CommandWord> SplitCommandLine(std::wstring_view line);

enum class Verb
{
    None,
    List,
    Disable,
    Enable,
    Remove,
    Add,
    Save,
    Load,
    Compare,
    Help,
    Delay,
    Undelay,
    Measure
};

struct ConsoleRequest
{
    Verb verb = Verb::None;
    std::wstring value; // NAME or FILE
    std::optional<std::wstring> from, command;
    bool json = false;
    EntryKind listKind = EntryKind::Startup; // /list of the services, of the tasks
    bool all = false;                        // /list of every entry, not only those a view shows first
    bool force = false;                      // /enable of an entry whose program file is gone
    bool verify = false;                     // /list once every file's signature is checked
    std::optional<int> seconds;              // /delay by, or /measure for, that many seconds
    bool off = false;                        // /measure taken back
};

// A request, or why the command line makes none: one sentence, and whether the usage goes below
// it (a command line without a verb) or only the pointer to it.
struct ParsedRequest
{
    ConsoleRequest request;
    std::wstring error;
    bool usageBelow = false;
};
// Switches start with / or -, in any case; the word after a switch that takes a value is its
// value, unless it is another switch of ours written without quotes.
ParsedRequest ParseConsoleRequest(std::wstring_view arguments);

// Whether a word of the command line is the switch /list: Ravelin.exe then writes the list.
bool NamesListSwitch(std::wstring_view arguments);
