// The table of the kinds of entry and the command line's reading of it.
#include "kinds/KindTable.h"
#include "platform/Names.h"
#include "platform/Text.h"

namespace
{

const KindDesign Table[] = {
    {EntryKind::Startup, nullptr, nullptr, nullptr},
    {EntryKind::Service, platform::names::ServiceLoadFrom, L"service", L"services"},
    {EntryKind::Task, platform::names::TaskLoadFrom, L"task", L"tasks"},
};

// A place's line: its short name in a column as wide as the longest and two blanks, its
// identifier, and its Load From text where that differs.
std::wstring PlaceLine(std::wstring_view shortName, std::wstring_view id, std::wstring_view shown)
{
    constexpr size_t ShortNameColumn = 22;
    std::wstring line = L"  " + std::wstring(shortName);
    line.append(ShortNameColumn > shortName.size() ? ShortNameColumn - shortName.size() : 1, L' ');
    line += id;
    if (shown != id)
        line += L"  =  " + std::wstring(shown);
    return line + L"\r\n";
}

} // namespace

std::span<const KindDesign> KindTable()
{
    return Table;
}

std::wstring AllPlaceLines(const SourceNameTable& names)
{
    std::wstring lines;
    for (size_t i = 0; i < SourceCount; ++i)
        lines += PlaceLine(StartupSources[i].shortName, StartupSources[i].id, ScannedLoadFrom(i, names));
    for (const KindDesign& design : Table)
        if (design.place)
            lines += PlaceLine(design.shortName, design.place, design.place);
    return lines;
}

std::optional<EntryKind> KindOfListSwitch(std::wstring_view name)
{
    for (const KindDesign& design : Table)
        if (design.listSwitch && platform::EqualsNoCase(name, design.listSwitch))
            return design.id;
    return std::nullopt;
}
