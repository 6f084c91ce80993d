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

// SourceNames entries 0 to 7.
inline constexpr KeyText SourceNames[8] = {
    {L"426", L"Registry(User Run)"},     {L"427", L"Registry(Machine Run)"},
    {L"428", L"Registry(Machine RunOnce)"}, {L"429", L"Registry(Machine RunOnceEx)"},
    {L"430", L"StartUp (Current User)"}, {L"431", L"StartUp (All Users)"},
    {L"432", L"Win.ini Load"},           {L"433", L"Win.ini Run"},
};

} // namespace keys
