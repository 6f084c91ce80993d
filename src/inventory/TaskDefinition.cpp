// The task definition reader and the change of its Enabled setting.
#include "inventory/TaskDefinition.h"
#include "platform/Text.h"

namespace
{

constexpr std::wstring_view XmlBlanks = L" \t\r\n";
// Follows an Enabled element this program inserted into Settings, so that an enable takes the
// two out again and gives back the file as it was.
constexpr std::wstring_view InsertedMark = L"<!--Enabled inserted by Brightfold Ravelin-->";
// Follows the Enabled of a Settings this program wrote in place of an empty one, or of none; the
// text it replaced follows up to the end of the comment.
constexpr std::wstring_view ReplacedMark = L"<!--Settings inserted by Brightfold Ravelin in place of:";

const struct
{
    std::wstring_view element;
    TriggerKind kind;
} TriggerKinds[] = {{L"LogonTrigger", TriggerKind::Logon},
                    {L"BootTrigger", TriggerKind::Boot},
                    {L"CalendarTrigger", TriggerKind::Calendar},
                    {L"TimeTrigger", TriggerKind::Time},
                    {L"IdleTrigger", TriggerKind::Idle},
                    {L"EventTrigger", TriggerKind::Event},
                    {L"RegistrationTrigger", TriggerKind::Registration},
                    {L"SessionStateChangeTrigger", TriggerKind::SessionStateChange}};

const struct
{
    std::wstring_view element;
    CalendarSchedule schedule;
} Schedules[] = {{L"ScheduleByDay", CalendarSchedule::ByDay},
                 {L"ScheduleByWeek", CalendarSchedule::ByWeek},
                 {L"ScheduleByMonth", CalendarSchedule::ByMonth},
                 {L"ScheduleByMonthDayOfWeek", CalendarSchedule::ByMonthDayOfWeek}};

std::optional<bool> BoolOf(const XmlElement* element)
{
    if (!element)
        return std::nullopt;
    const std::wstring_view value = platform::Trim(element->text, XmlBlanks);
    if (value == L"true" || value == L"1")
        return true;
    if (value == L"false" || value == L"0")
        return false;
    return std::nullopt;
}

// The decoded text and its elements, or why they are no task.
struct Parsed
{
    XmlText text;
    XmlDocument doc;
    XmlFault fault;
    const XmlElement* Root() const { return fault.problem == XmlProblem::None ? &doc.elements[0] : nullptr; }
    std::wstring ValueOf(const XmlElement* parent, std::wstring_view name) const
    {
        const XmlElement* element = doc.Child(parent, name);
        return element ? std::wstring(platform::Trim(element->text, XmlBlanks)) : std::wstring();
    }
};

Parsed Parse(std::string_view bytes)
{
    Parsed parsed;
    parsed.text = DecodeXml(bytes);
    if ((parsed.fault = parsed.text.fault).problem != XmlProblem::None)
        return parsed;
    parsed.doc = ReadXml(parsed.text.text);
    if ((parsed.fault = parsed.doc.fault).problem == XmlProblem::None &&
        parsed.doc.elements[0].name != L"Task")
        parsed.fault = {XmlProblem::NotATask, 0, parsed.doc.elements[0].name};
    return parsed;
}

TaskTrigger ReadTrigger(const Parsed& parsed, const XmlElement& element)
{
    TaskTrigger trigger;
    trigger.element = element.name;
    for (const auto& known : TriggerKinds)
        if (element.name == known.element)
            trigger.kind = known.kind;
    trigger.enabled = BoolOf(parsed.doc.Child(&element, L"Enabled")).value_or(true);
    trigger.startBoundary = parsed.ValueOf(&element, L"StartBoundary");
    trigger.userId = parsed.ValueOf(&element, L"UserId");
    for (const auto& known : Schedules)
        if (trigger.kind == TriggerKind::Calendar && parsed.doc.Child(&element, known.element))
            trigger.schedule = known.schedule;
    return trigger;
}

TaskAction ReadAction(const Parsed& parsed, const XmlElement& element)
{
    TaskAction action;
    action.element = element.name;
    if (element.name == L"Exec")
    {
        action.kind = ActionKind::Exec;
        action.command = parsed.ValueOf(&element, L"Command");
        action.arguments = parsed.ValueOf(&element, L"Arguments");
        action.workingDirectory = parsed.ValueOf(&element, L"WorkingDirectory");
    }
    else if (element.name == L"ComHandler")
    {
        action.kind = ActionKind::ComHandler;
        action.classId = parsed.ValueOf(&element, L"ClassId");
    }
    return action;
}

// The name as written in the start tag, with its prefix: what an inserted element must share.
std::wstring_view PrefixOf(std::wstring_view text, const XmlElement& element)
{
    const std::wstring_view tag = text.substr(element.start + 1);
    const std::wstring_view qualified = tag.substr(0, tag.find_first_of(L" \t\r\n/>"));
    return qualified.substr(0, qualified.size() - element.name.size());
}

std::wstring Tag(std::wstring_view prefix, std::wstring_view name, std::wstring_view content)
{
    const std::wstring qualified = std::wstring(prefix) + std::wstring(name);
    return L"<" + qualified + L">" + std::wstring(content) + L"</" + qualified + L">";
}

// One replacement of the text: [from, to) becomes with.
struct Edit
{
    size_t from = 0, to = 0;
    std::wstring with;
};

// The replacement that gives Settings the Enabled setting asked for; none when the task has it.
std::optional<Edit> EnabledEdit(const Parsed& parsed, bool enabled)
{
    const std::wstring_view text = parsed.text.text;
    const XmlElement* root = parsed.Root();
    const XmlElement* settings = parsed.doc.Child(root, L"Settings");
    const XmlElement* element = parsed.doc.Child(settings, L"Enabled");
    const std::wstring value = enabled ? L"true" : L"false";
    if (element && enabled && text.substr(element->end, InsertedMark.size()) == InsertedMark &&
        platform::Trim(text.substr(settings->contentStart, element->start - settings->contentStart),
                       XmlBlanks)
            .empty())
        return Edit{settings->contentStart, element->end + InsertedMark.size(), {}};
    if (element && enabled && element->start == settings->contentStart &&
        text.substr(element->end, ReplacedMark.size()) == ReplacedMark)
    {
        const size_t original = element->end + ReplacedMark.size(), close = text.find(L"-->", original);
        if (close != std::wstring_view::npos && close + 3 == settings->contentEnd)
            return Edit{settings->start, settings->end,
                        std::wstring(text.substr(original, close - original))};
    }
    if (element ? BoolOf(element) == enabled : enabled)
        return std::nullopt;
    if (element && element->selfClosed)
        return Edit{element->start, element->end, Tag(PrefixOf(text, *element), L"Enabled", value)};
    if (element)
    {
        // Only the value goes; blanks around it stay, and so does anything else inside.
        const std::wstring_view content =
            text.substr(element->contentStart, element->contentEnd - element->contentStart);
        if (content.find(L'<') != std::wstring_view::npos)
            return Edit{element->contentStart, element->contentEnd, value};
        const size_t first = std::min(content.find_first_not_of(XmlBlanks), content.size());
        const size_t last = content.find_last_not_of(XmlBlanks);
        const size_t end = last == std::wstring_view::npos ? first : last + 1;
        return Edit{element->contentStart + first, element->contentStart + end, value};
    }
    if (settings && !settings->selfClosed)
    {
        // On a line of its own where Settings has its children on lines of their own.
        const std::wstring_view after = text.substr(settings->contentStart);
        const std::wstring_view blanks =
            after.substr(0, std::min(after.find_first_not_of(XmlBlanks), after.size()));
        return Edit{settings->contentStart, settings->contentStart,
                    std::wstring(blanks) + Tag(PrefixOf(text, *settings), L"Enabled", value) +
                        std::wstring(InsertedMark)};
    }
    const size_t from = settings ? settings->start : root->contentEnd, to = settings ? settings->end : from;
    const std::wstring_view replaced = text.substr(from, to - from);
    const std::wstring_view prefix = PrefixOf(text, settings ? *settings : *root);
    // A comment cannot hold "--": such a tag is replaced without the way back.
    const std::wstring mark = replaced.find(L"--") == std::wstring_view::npos && !replaced.ends_with(L'-')
                                  ? std::wstring(ReplacedMark) + std::wstring(replaced) + L"-->"
                                  : std::wstring();
    return Edit{from, to, Tag(prefix, L"Settings", Tag(prefix, L"Enabled", value) + mark)};
}

} // namespace

TaskReading ReadTaskDefinition(std::string_view xml)
{
    const Parsed parsed = Parse(xml);
    TaskReading reading;
    reading.fault = parsed.fault;
    const XmlElement* root = parsed.Root();
    if (!root)
        return reading;
    const XmlDocument& doc = parsed.doc;
    TaskDefinition& definition = reading.definition.emplace();
    const XmlElement* settings = doc.Child(root, L"Settings");
    definition.enabled = BoolOf(doc.Child(settings, L"Enabled")).value_or(true);
    definition.hidden = BoolOf(doc.Child(settings, L"Hidden")).value_or(false);
    const XmlElement* registration = doc.Child(root, L"RegistrationInfo");
    definition.author = parsed.ValueOf(registration, L"Author");
    definition.description = parsed.ValueOf(registration, L"Description");
    definition.uri = parsed.ValueOf(registration, L"URI");
    if (const XmlElement* triggers = doc.Child(root, L"Triggers"))
        for (size_t index : triggers->children)
            definition.triggers.push_back(ReadTrigger(parsed, doc.elements[index]));
    if (const XmlElement* actions = doc.Child(root, L"Actions"))
        for (size_t index : actions->children)
            definition.actions.push_back(ReadAction(parsed, doc.elements[index]));
    const XmlElement* principal = doc.Child(doc.Child(root, L"Principals"), L"Principal");
    definition.userId = parsed.ValueOf(principal, L"UserId");
    definition.runLevel = parsed.ValueOf(principal, L"RunLevel");
    return reading;
}

std::wstring DescribeTaskFault(const XmlFault& fault)
{
    return fault.problem == XmlProblem::None ? std::wstring()
                                             : L"not a task file: " + DescribeXmlFault(fault);
}

bool StartsAtLogonOrBoot(const TaskDefinition& definition)
{
    for (const TaskTrigger& trigger : definition.triggers)
        if (trigger.enabled && (trigger.kind == TriggerKind::Logon || trigger.kind == TriggerKind::Boot))
            return true;
    return false;
}

std::optional<std::string> WithTaskEnabled(std::string_view xml, bool enabled)
{
    const Parsed parsed = Parse(xml);
    // <Task/> has nothing to hold a setting; enabled it is already.
    if (!parsed.Root() || (parsed.Root()->selfClosed && !enabled))
        return std::nullopt;
    const std::optional<Edit> edit = EnabledEdit(parsed, enabled);
    if (!edit)
        return std::string(xml);
    // Every byte outside the replacement is copied, not encoded again.
    const XmlEncoding& encoding = parsed.text.encoding;
    const std::wstring_view text = parsed.text.text;
    const size_t from = encoding.bomSize + EncodeXml(encoding, text.substr(0, edit->from)).size();
    const size_t to = from + EncodeXml(encoding, text.substr(edit->from, edit->to - edit->from)).size();
    std::string changed =
        std::string(xml.substr(0, from)) + EncodeXml(encoding, edit->with) + std::string(xml.substr(to));
    // Whatever the file held, the result must read back as a task of the setting asked for.
    const TaskReading check = ReadTaskDefinition(changed);
    if (!check.definition || check.definition->enabled != enabled)
        return std::nullopt;
    return changed;
}

platform::TaskXmlRules TaskDefinitionRules()
{
    platform::TaskXmlRules rules;
    rules.enabled = [](std::string_view xml) -> std::optional<bool> {
        const TaskReading reading = ReadTaskDefinition(xml);
        return reading.definition ? std::optional<bool>(reading.definition->enabled) : std::nullopt;
    };
    rules.withEnabled = WithTaskEnabled;
    return rules;
}
