// The states' words: the pack's for people, fixed ones for scripts.
#include "model/EntryState.h"
#include "i18n/Lookup.h"

namespace
{

constexpr keys::KeyText StateKeys[StateCount] = {keys::Enabled, keys::Disabled, keys::Remove, keys::Delayed};
constexpr const wchar_t* ScriptWords[StateCount] = {L"enabled", L"disabled", L"remove", L"delayed"};

} // namespace

const keys::KeyText& StateKey(EntryState state)
{
    return StateKeys[static_cast<size_t>(state)];
}

std::wstring StateWord(EntryState state)
{
    return LookupText(StateKey(state));
}

const wchar_t* ScriptStateWord(EntryState state)
{
    return ScriptWords[static_cast<size_t>(state)];
}

bool ParseCount(std::wstring_view text, int most, int& value)
{
    if (text.empty() || text.size() > 9)
        return false;
    long long n = 0;
    for (wchar_t c : text)
    {
        if (c < L'0' || c > L'9')
            return false;
        n = n * 10 + (c - L'0');
    }
    if (n < 1 || n > most)
        return false;
    value = static_cast<int>(n);
    return true;
}
