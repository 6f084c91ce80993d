// /compare: the list now against one an earlier /list /json wrote.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields of one listed entry that a comparison looks at; state may be empty (a list written
// before it was given, or a Status of no state).
struct ListedEntry
{
    std::wstring taskName, status, state, loadFrom, location;
};
// The entries of a JSON array of objects as /list /json writes them; none when the text is no
// such array or an object lacks taskName or loadFrom.
std::optional<std::vector<ListedEntry>> ReadListJson(std::wstring_view text);
// The text of a file /list /json wrote, or that a shell saved from it in another encoding: UTF-8
// or UTF-16 after a byte-order mark, UTF-8 without one where the bytes are UTF-8, else ANSI.
std::wstring DecodeListFile(const std::string& bytes);

struct ListChange
{
    enum Kind
    {
        New,
        Gone,
        Changed
    } kind = New;
    ListedEntry now, before; // now is empty for Gone, before for New
};
// Entries are the same when their places (in any language) and names (in any case) are; of
// several of one name and place, those that did not change pair first. Changed: another state
// (or Status, where either list gives no state) or location. Gone entries come last.
std::vector<ListChange> CompareLists(const std::vector<ListedEntry>& before,
                                     const std::vector<ListedEntry>& now);

// One line a change, in the chosen language.
std::wstring ChangesText(const std::vector<ListChange>& changes);
// A JSON array: change ("new", "gone", "changed"), taskName, loadFrom, and now and before, each
// an object of status, state and location, or null.
std::wstring ChangesJson(const std::vector<ListChange>& changes);
