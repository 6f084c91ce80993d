// The words a scanner writes into the rows of one source, and the status words.
#pragma once
#include "i18n/Keys.h"
#include "i18n/Lookup.h"

#include <string>

// Looked up at the moment of use: a language change takes effect at once.
std::wstring EnabledWord();
std::wstring DisabledWord();
std::wstring RemoveWord();

// Columns 1 to 4 of a scanned row, the same for every row of one source.
struct RowWords {
    std::wstring status, loadFrom, user, when;
};

// Keys and English texts of the User and When? columns of a source.
struct SourceWordKeys {
    keys::KeyText user, when;
};
namespace sourcewords {
inline constexpr SourceWordKeys UserRegistry{{L"415", L"Current User"}, {L"418", L"Current User logs On"}};
inline constexpr SourceWordKeys UserStartUp{{L"415", L"Current User"}, {L"418", L"Current User Logs On"}};
inline constexpr SourceWordKeys Machine{{L"416", L"All Users"}, {L"420", L"Any User Logs On"}};
inline constexpr SourceWordKeys WinIniRun{{L"416", L"All users"}, {L"420", L"Any User Logs On"}};
} // namespace sourcewords

// Status, User and When? of a source looked up now; Load From is given by the caller.
RowWords WordsFor(const SourceWordKeys& source, std::wstring loadFrom);

// Sets columns 1 to 5 of row position, in column order.
class StartupList;
void SetRowColumns(StartupList& list, int position, const RowWords& words, std::wstring location);
