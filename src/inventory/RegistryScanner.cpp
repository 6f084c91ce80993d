// Registry run-key scanner.
#include "model/StartupSource.h"
#include "inventory/Scanners.h"
#include "platform/Places.h"

void SetRegRunIntoList(StartupList& list, platform::Reg& reg, const SourceNameTable& sourceNames, size_t source,
                       WindowsSwitches& switches)
{
    const StartupSource& place = StartupSources[source];
    const std::wstring path = platform::RunKeyPath(place.key);
    platform::UniqueHKey handle = platform::OpenRegKey(place.root, path, place.view);
    const DWORD count = platform::QueryRegCount(handle.get(), 0);
    if (count == 0) return;

    const RowWords words = WordsFor(place.words, ScannedLoadFrom(source, sourceNames));

    // Names and data come in one enumeration pass; Reg answers ReadValue from it. A row keeps
    // the value's exact name, blanks and all, so that its data is read, and later deleted or
    // written, under that name and no other; the list shows the name trimmed.
    std::vector<platform::RegValue> values = platform::ReadRegValues(handle.get());
    const size_t rows = std::min<size_t>(count, values.size());
    std::vector<std::wstring> names(rows);
    for (size_t i = 0; i < rows; ++i) names[i] = values[i].name;

    reg.RootKey(place.root);
    reg.View(place.view);
    reg.KeyPath(path);
    reg.ServeReadsFrom(std::move(values));
    for (size_t i = 0; i < rows; ++i) {
        reg.ValueName(names[i]);
        int position = list.Append(names[i]);
        SetRowColumns(list, position, words, reg.ReadValue());
        switches.Mark(list, position, place, names[i]);
    }
    reg.StopServingReads();
}
