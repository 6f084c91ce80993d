// The status words from the chosen pack, with their English defaults.
#include "model/StatusWords.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"

std::wstring EnabledWord()
{
    return LookupText(keys::Enabled);
}

std::wstring DisabledWord()
{
    return LookupText(keys::Disabled);
}

std::wstring RemoveWord()
{
    return LookupText(keys::Remove);
}
