// Status words and the per-source words of scanned rows.
#include "app/StartupSource.h"
#include "app/StartupList.h"
#include "i18n/Keys.h"

std::wstring EnabledWord()
{
    return SetCaptionfromINI(keys::Enabled.key, keys::Enabled.text);
}

std::wstring DisabledWord()
{
    return SetCaptionfromINI(keys::Disabled.key, keys::Disabled.text);
}

std::wstring RemoveWord()
{
    return SetCaptionfromINI(keys::Remove.key, keys::Remove.text);
}

RowWords WordsFor(const SourceWordKeys& source, std::wstring loadFrom)
{
    RowWords words;
    words.status = EnabledWord();
    words.loadFrom = std::move(loadFrom);
    words.user = SetCaptionfromINI(source.user.key, source.user.text);
    words.when = SetCaptionfromINI(source.when.key, source.when.text);
    return words;
}

void SetRowColumns(StartupList& list, int position, const RowWords& words, std::wstring location)
{
    list.SetSubItem(position, Status, words.status);
    list.SetSubItem(position, LoadFrom, words.loadFrom);
    list.SetSubItem(position, User, words.user);
    list.SetSubItem(position, When, words.when);
    list.SetSubItem(position, Location, std::move(location));
}
