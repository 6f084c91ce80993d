// Splitting the command line and reading the switches from it.
#include "console/ConsoleArguments.h"
#include "i18n/DelayKeys.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "inventory/LogonWatch.h"
#include "kinds/Kinds.h"
#include "platform/Text.h"

#include <array>
#include <iterator>

std::vector<CommandWord> SplitCommandLine(std::wstring_view line)
{
    std::vector<CommandWord> words;
    size_t i = 0;
    while (true)
    {
        while (i < line.size() && (line[i] == L' ' || line[i] == L'\t'))
            ++i;
        if (i >= line.size())
            return words;
        CommandWord word;
        bool inQuotes = false;
        for (; i < line.size() && (inQuotes || (line[i] != L' ' && line[i] != L'\t')); ++i)
        {
            size_t slashes = 0;
            while (i < line.size() && line[i] == L'\\')
                ++slashes, ++i;
            if (i < line.size() && line[i] == L'"')
            {
                word.text.append(slashes / 2, L'\\');
                if (slashes % 2)
                    word.text += L'"';
                else if (inQuotes && i + 1 < line.size() && line[i + 1] == L'"')
                    word.text += L'"', ++i;
                else
                    inQuotes = !inQuotes, word.quoted = true;
                continue;
            }
            word.text.append(slashes, L'\\');
            if (i >= line.size() || (!inQuotes && (line[i] == L' ' || line[i] == L'\t')))
                break;
            word.text += line[i];
        }
        words.push_back(std::move(word));
    }
}

namespace
{

enum class Takes
{
    Nothing,
    Value
};

struct SwitchDesign
{
    const wchar_t* name;
    Verb verb; // None: a switch that goes with a verb
    Takes takes;
};
constexpr SwitchDesign Switches[] = {
    {L"list", Verb::List, Takes::Nothing},     {L"disable", Verb::Disable, Takes::Value},
    {L"enable", Verb::Enable, Takes::Value},   {L"remove", Verb::Remove, Takes::Value},
    {L"add", Verb::Add, Takes::Value},         {L"save", Verb::Save, Takes::Value},
    {L"load", Verb::Load, Takes::Value},       {L"compare", Verb::Compare, Takes::Value},
    {L"?", Verb::Help, Takes::Nothing},        {L"from", Verb::None, Takes::Value},
    {L"command", Verb::None, Takes::Value},    {L"json", Verb::None, Takes::Nothing},
    {L"services", Verb::None, Takes::Nothing}, {L"tasks", Verb::None, Takes::Nothing},
    {L"all", Verb::None, Takes::Nothing},      {L"verify", Verb::None, Takes::Nothing},
    {L"force", Verb::None, Takes::Nothing},    {L"delay", Verb::Delay, Takes::Value},
    {L"undelay", Verb::Undelay, Takes::Value}, {L"seconds", Verb::None, Takes::Value},
    {L"off", Verb::None, Takes::Nothing},      {L"measure", Verb::Measure, Takes::Nothing},
};
constexpr size_t FromSwitch = 9, CommandSwitch = 10, JsonSwitch = 11, ServicesSwitch = 12, TasksSwitch = 13,
                 AllSwitch = 14, VerifySwitch = 15, ForceSwitch = 16, SecondsSwitch = 19, OffSwitch = 20;

const SwitchDesign* FindSwitch(const CommandWord& word)
{
    if (word.quoted || word.text.size() < 2 || (word.text[0] != L'/' && word.text[0] != L'-'))
        return nullptr;
    for (const SwitchDesign& design : Switches)
        if (platform::EqualsNoCase(std::wstring_view(word.text).substr(1), design.name))
            return &design;
    return nullptr;
}

std::wstring Shown(const SwitchDesign& design)
{
    return L"/" + std::wstring(design.name);
}

// Which verbs each switch that is no verb goes with.
bool GoesWith(size_t modifier, Verb verb)
{
    switch (modifier)
    {
    case FromSwitch:
        return verb == Verb::Disable || verb == Verb::Enable || verb == Verb::Remove || verb == Verb::Add ||
               verb == Verb::Delay || verb == Verb::Undelay;
    case CommandSwitch:
        return verb == Verb::Add;
    case JsonSwitch:
        return verb == Verb::List || verb == Verb::Compare;
    case ServicesSwitch:
    case TasksSwitch:
    case AllSwitch:
    case VerifySwitch:
        return verb == Verb::List;
    case ForceSwitch:
        return verb == Verb::Enable;
    case SecondsSwitch:
        return verb == Verb::Delay || verb == Verb::Measure;
    case OffSwitch:
        return verb == Verb::Measure;
    }
    return false;
}

} // namespace

ParsedRequest ParseConsoleRequest(std::wstring_view arguments)
{
    ParsedRequest parsed;
    ConsoleRequest& request = parsed.request;
    const std::vector<CommandWord> words = SplitCommandLine(arguments);
    const SwitchDesign* verb = nullptr;
    const SwitchDesign* listSwitch = nullptr;
    std::array<bool, std::size(Switches)> seen{};
    auto fail = [&](const keys::KeyText& key, std::initializer_list<std::wstring> args) {
        parsed.error = FormatText(LookupText(key), args);
        return parsed;
    };
    std::wstring secondsText;
    for (size_t i = 0; i < words.size(); ++i)
    {
        const SwitchDesign* design = FindSwitch(words[i]);
        if (!design)
        {
            const bool looksLikeSwitch = !words[i].quoted && words[i].text.size() >= 2 &&
                                         (words[i].text[0] == L'/' || words[i].text[0] == L'-');
            return looksLikeSwitch ? fail(keys::UnknownSwitch, {words[i].text})
                                   : fail(keys::NotASwitch, {words[i].text});
        }
        const size_t index = static_cast<size_t>(design - Switches);
        if (seen[index])
            return fail(keys::SwitchTwice, {Shown(*design)});
        seen[index] = true;
        std::wstring value;
        if (design->takes == Takes::Value)
        {
            if (i + 1 >= words.size() || FindSwitch(words[i + 1]))
                return fail(keys::MissingValue, {Shown(*design)});
            value = words[++i].text;
        }
        if (design->verb != Verb::None)
        {
            if (verb)
                return fail(keys::TwoVerbs, {Shown(*verb), Shown(*design)});
            verb = design;
            request.verb = design->verb;
            request.value = std::move(value);
        }
        else if (index == FromSwitch)
            request.from = std::move(value);
        else if (index == CommandSwitch)
            request.command = std::move(value);
        else if (index == SecondsSwitch)
            secondsText = std::move(value); // its bounds are the verb's, which may come after it
        else if (const std::optional<EntryKind> kind = KindOfListSwitch(design->name))
        {
            // One list at a time.
            if (listSwitch)
                return fail(keys::SwitchNotWithVerb, {Shown(*design), Shown(*listSwitch)});
            listSwitch = design;
            request.listKind = *kind;
        }
        else if (index == AllSwitch)
            request.all = true;
        else if (index == ForceSwitch)
            request.force = true;
        else if (index == VerifySwitch)
            request.verify = true;
        else if (index == OffSwitch)
            request.off = true;
        else
            request.json = true;
    }
    if (!verb)
    {
        parsed.usageBelow = true;
        return fail(keys::NoVerb, {});
    }
    for (size_t modifier : {FromSwitch, CommandSwitch, JsonSwitch, ServicesSwitch, TasksSwitch, AllSwitch,
                            VerifySwitch, ForceSwitch, SecondsSwitch, OffSwitch})
        if (seen[modifier] && !GoesWith(modifier, request.verb))
            return fail(keys::SwitchNotWithVerb, {Shown(Switches[modifier]), Shown(*verb)});
    if (seen[SecondsSwitch])
    {
        const bool measure = request.verb == Verb::Measure;
        int seconds = 0;
        if (!ParseCount(platform::Trim(secondsText), measure ? MaxWatchSeconds : MaxDelaySeconds, seconds))
            return fail(measure ? keys::BadSeconds : keys::BadDelaySeconds, {secondsText});
        request.seconds = seconds;
    }
    if (request.verb == Verb::Add)
        for (size_t needed : {FromSwitch, CommandSwitch})
            if (!seen[needed])
                return fail(keys::SwitchNeeds, {Shown(*verb), Shown(Switches[needed])});
    return parsed;
}

bool NamesListSwitch(std::wstring_view arguments)
{
    for (const CommandWord& word : SplitCommandLine(arguments))
        if (const SwitchDesign* design = FindSwitch(word); design && design->verb == Verb::List)
            return true;
    return false;
}
