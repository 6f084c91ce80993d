// Pack keys and English texts of finding and judging entries (the Publisher header is with the
// column headers in DisplayList.h).
#pragma once
#include "i18n/Keys.h"

namespace keys {
inline constexpr KeyText FilterCue{L"701", L"Filter"};
inline constexpr KeyText OpenLocation{L"702", L"Open &location"};
inline constexpr KeyText Properties{L"703", L"&Properties"};
inline constexpr KeyText RowsShown{L"704", L"%1 of %2 shown"};
inline constexpr KeyText FileExistsHeader{L"705", L"File exists"};
} // namespace keys
