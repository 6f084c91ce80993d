// The table of the kinds of entry, in the order the window shows their views, and what the
// command line reads of it: their places, short names and list switches.
#pragma once
#include "model/EntryState.h"
#include "model/StartupSource.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the table says of each kind.
struct KindDesign
{
    EntryKind id;
    // The Load From its profile records carry, which is also the PLACE that names its entries on
    // the command line; none for the startup entries, whose records carry their own places and
    // which take every record no other kind takes.
    const wchar_t* place;
    // Its place's short name for scripts, also accepted in any case; none for the startup entries,
    // whose places have their own.
    const wchar_t* shortName;
    // The switch that lists its entries: /list /services; none for the startup entries' own list.
    const wchar_t* listSwitch;
};
std::span<const KindDesign> KindTable();
// Every place, one a line, as the usage lists them: the startup entries' places, then the other
// kinds'.
std::wstring AllPlaceLines(const SourceNameTable& names);
// The kind whose list switch name is (without its slash, in any case); none when no kind's is.
std::optional<EntryKind> KindOfListSwitch(std::wstring_view name);
