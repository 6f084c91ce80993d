// The figures of a logon's processes by program file, and the classes of the entries.
#include "find/LogonImpact.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

#include <algorithm>
#include <iterator>

namespace
{

constexpr ULONGLONG Kilobyte = 1024, Megabyte = 1024 * 1024;

// By class, in the order of ImpactClass.
constexpr keys::KeyText ImpactKeys[] = {keys::ImpactNone, keys::ImpactNotMeasured, keys::ImpactLow,
                                        keys::ImpactMedium, keys::ImpactHigh};
constexpr const wchar_t* ScriptImpactWords[] = {L"none", L"not measured", L"low", L"medium", L"high"};
static_assert(std::size(ImpactKeys) == static_cast<size_t>(ImpactClass::High) + 1);
static_assert(std::size(ScriptImpactWords) == std::size(ImpactKeys));

// The path after its drive ("C:"), as a tail of a device path is kept.
std::wstring_view AfterDrive(std::wstring_view path)
{
    return path.size() >= 2 && path[1] == L':' ? path.substr(2) : std::wstring_view();
}

} // namespace

ImpactClass ClassOf(const ImpactFigures& figures)
{
    if (figures.cpuMicroseconds > 1000 * 1000 || figures.diskBytes > 3 * Megabyte)
        return ImpactClass::High;
    if (figures.cpuMicroseconds > 300 * 1000 || figures.diskBytes > 300 * Kilobyte)
        return ImpactClass::Medium;
    return ImpactClass::Low;
}

void LogonImpact::Add(const std::wstring& program, bool tail, const std::wstring& commandProgram,
                      const ImpactFigures& figures)
{
    const size_t index = figures_.size();
    figures_.push_back(figures);
    const std::wstring folded = platform::FoldCase(program), command = platform::FoldCase(commandProgram);
    if (!folded.empty())
        (tail ? byTail_ : byPath_)[folded].push_back(index);
    // A process is counted once for a file, whichever of its names matches.
    if (!command.empty() && (tail || command != folded))
        byPath_[command].push_back(index);
}

std::optional<ImpactFigures> LogonImpact::FiguresOf(const std::wstring& file) const
{
    if (file.empty())
        return std::nullopt;
    std::vector<size_t> matched;
    const std::wstring folded = platform::FoldCase(file);
    if (auto found = byPath_.find(folded); found != byPath_.end())
        matched = found->second;
    if (const std::wstring_view tail = AfterDrive(folded); !tail.empty())
        if (auto found = byTail_.find(std::wstring(tail)); found != byTail_.end())
            matched.insert(matched.end(), found->second.begin(), found->second.end());
    if (matched.empty())
        return std::nullopt;
    std::ranges::sort(matched);
    matched.erase(std::unique(matched.begin(), matched.end()), matched.end());
    ImpactFigures sum;
    for (size_t index : matched)
    {
        sum.cpuMicroseconds += figures_[index].cpuMicroseconds;
        sum.diskBytes += figures_[index].diskBytes;
    }
    return sum;
}

EntryImpact ImpactOf(const LogonImpact& record, const std::wstring& file, bool disabled)
{
    if (disabled)
        return {ImpactClass::None, std::nullopt};
    EntryImpact impact{ImpactClass::NotMeasured, record.FiguresOf(file)};
    if (impact.figures)
        impact.impact = ClassOf(*impact.figures);
    return impact;
}

std::wstring ImpactWord(ImpactClass impact)
{
    return LookupText(ImpactKeys[static_cast<size_t>(impact)]);
}

const wchar_t* ScriptImpactWord(ImpactClass impact)
{
    return ScriptImpactWords[static_cast<size_t>(impact)];
}

std::wstring ImpactDetailText(const LogonImpact* record, const EntryImpact& impact, bool programKnown,
                              bool disabled)
{
    std::wstring text = FormatText(LookupText(keys::ImpactLine), {ImpactWord(impact.impact)});
    const auto line = [&](const std::wstring& more) { text += L"\r\n" + more; };
    const std::wstring when = record ? platform::LocalTimeText(record->written) : std::wstring();
    if (disabled)
        line(LookupText(keys::ImpactOfDisabled));
    else if (!record)
        line(LookupText(keys::RecordNotReadYet));
    else if (impact.figures)
    {
        line(FormatText(LookupText(keys::CpuTimeLine), {platform::ToDecimal(static_cast<long long>(
                                                           impact.figures->cpuMicroseconds / 1000))}));
        line(FormatText(LookupText(keys::DiskLine),
                        {platform::ToDecimal(static_cast<long long>(impact.figures->diskBytes))}));
        line(FormatText(LookupText(keys::RecordLine), {record->file, when}));
    }
    else if (record->file.empty())
        line(LookupText(keys::NoRecord));
    else if (!programKnown)
        line(LookupText(keys::NoProgramFile));
    else
        line(FormatText(LookupText(keys::NotInRecord), {record->file, when}));
    for (const SkippedRecord& skipped : record ? record->skipped : std::vector<SkippedRecord>())
        line(FormatText(LookupText(keys::RecordSkipped), {skipped.file, skipped.reason}));
    return text;
}
