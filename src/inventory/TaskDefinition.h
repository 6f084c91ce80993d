// What the program reads of a scheduled task's definition (its XML), and the one change it makes
// to it: the Enabled setting, every other byte kept.
#pragma once
#include "inventory/XmlReader.h"
#include "platform/Tasks.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TriggerKind
{
    Logon,
    Boot,
    Calendar,
    Time,
    Idle,
    Event,
    Registration,
    SessionStateChange,
    Other // known by its element name only
};

// How a calendar trigger repeats: its Schedule... element.
enum class CalendarSchedule
{
    None,
    ByDay,
    ByWeek,
    ByMonth,
    ByMonthDayOfWeek
};

struct TaskTrigger
{
    TriggerKind kind = TriggerKind::Other;
    std::wstring element;       // its element name: LogonTrigger, BootTrigger, ...
    bool enabled = true;        // its own Enabled
    std::wstring startBoundary; // as written, e.g. 2024-01-01T08:00:00
    std::wstring userId;        // whose logon (LogonTrigger) or session (SessionStateChangeTrigger)
    CalendarSchedule schedule = CalendarSchedule::None;
};

enum class ActionKind
{
    Exec,
    ComHandler,
    Other // SendEmail, ShowMessage, ...: known by its element name only
};

struct TaskAction
{
    ActionKind kind = ActionKind::Other;
    std::wstring element;
    std::wstring command, arguments, workingDirectory; // Exec
    std::wstring classId;                              // ComHandler
};

struct TaskDefinition
{
    bool enabled = true;                   // Settings/Enabled
    bool hidden = false;                   // Settings/Hidden
    std::wstring author, description, uri; // RegistrationInfo
    std::vector<TaskTrigger> triggers;     // in the file's order
    std::vector<TaskAction> actions;
    std::wstring userId, runLevel; // Principals/Principal: the account, LeastPrivilege or HighestAvailable
};

struct TaskReading
{
    std::optional<TaskDefinition> definition; // empty when the bytes are no readable task
    XmlFault fault;                           // why not
};
TaskReading ReadTaskDefinition(std::string_view xml);
// "not a task file: the XML ends inside the element <Settings> begun at line 3", in English.
std::wstring DescribeTaskFault(const XmlFault& fault);

// Whether any enabled logon or boot trigger starts it, whether the task itself is enabled or not:
// the tasks a startup view lists by default.
bool StartsAtLogonOrBoot(const TaskDefinition& definition);

// The bytes with only the Enabled setting changed, in the file's own encoding. Where Settings has
// no Enabled a disable inserts one, marked, which an enable takes out again: the bytes from
// before. The same bytes when nothing changes; empty when they are no readable task (or <Task/>).
std::optional<std::string> WithTaskEnabled(std::string_view xml, bool enabled);

// The two rules above for the scheduler's seam.
platform::TaskXmlRules TaskDefinitionRules();
