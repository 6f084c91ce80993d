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
