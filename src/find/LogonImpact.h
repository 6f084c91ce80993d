// What a startup entry costs the logon: the figures of the processes a logon started, by the
// program file they ran, and the class they put an entry in.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

enum class ImpactClass
{
    None,        // the entry is disabled
    NotMeasured, // no record, or none that holds the entry's program
    Low,
    Medium,
    High,
};

struct ImpactFigures
{
    ULONGLONG cpuMicroseconds = 0;
    ULONGLONG diskBytes = 0;
};
// High over 1 s of CPU or 3 MB of disk, Medium over 300 ms or 300 KB, Low below.
ImpactClass ClassOf(const ImpactFigures& figures);

// A record passed over, and why, in words.
struct SkippedRecord
{
    std::wstring file;
    std::wstring reason;
};

// The newest record that could be read, with the records newer than it that could not.
class LogonImpact
{
  public:
    std::wstring file;     // empty when no record could be read
    ULONGLONG written = 0; // the file's last write, UTC
    std::vector<SkippedRecord> skipped;

    // One process of the record: its program as a full DOS path, or, where the device part of
    // the system's path had no drive, the path after it (tail); and the program its command line
    // names. Either may be empty.
    void Add(const std::wstring& program, bool tail, const std::wstring& commandProgram,
             const ImpactFigures& figures);
    // The sum of the processes that ran the file; none when the record holds none.
    std::optional<ImpactFigures> FiguresOf(const std::wstring& file) const;
    size_t ProcessCount() const { return figures_.size(); }

  private:
    std::vector<ImpactFigures> figures_;
    std::unordered_map<std::wstring, std::vector<size_t>> byPath_, byTail_; // folded
};

// The impact of one entry, and why it is not measured.
struct EntryImpact
{
    ImpactClass impact = ImpactClass::NotMeasured;
    std::optional<ImpactFigures> figures;
};
// file: the entry's resolved program, empty when it has none.
EntryImpact ImpactOf(const LogonImpact& record, const std::wstring& file, bool disabled);

// The word shown, and the word scripts read: high, medium, low, "not measured", none.
std::wstring ImpactWord(ImpactClass impact);
const wchar_t* ScriptImpactWord(ImpactClass impact);
// The lines Properties shows: the class, the figures and their record, or why not measured.
std::wstring ImpactDetailText(const LogonImpact* record, const EntryImpact& impact, bool programKnown,
                              bool disabled);
