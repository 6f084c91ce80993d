// Pack keys with the English texts used where a pack does not give them.
#pragma once

namespace keys {

struct KeyText {
    const wchar_t* key;
    const wchar_t* text;
};

// The status words, compared exactly wherever a row's state is tested.
inline constexpr KeyText Enabled{L"413", L"Enabled"};
inline constexpr KeyText Disabled{L"423", L"Disabled"};
inline constexpr KeyText Remove{L"424", L"Remove"};

inline constexpr KeyText MachineRegistry{L"419", L"Registry"};
// The Status cell of an entry Windows has switched off; %1 is the Disabled word.
inline constexpr KeyText DisabledByWindows{L"439", L"%1 by Windows"};

} // namespace keys
