// The task definition reader: what it reads of each fixture and of odd XML, the reason it gives
// for bytes that are no task, and the Enabled change, byte for byte, there and back.
#include "inventory/TaskDefinition.h"
#include "platform/Text.h"
#include "support/Fixtures.h"

using testsupport::ReadBytes;

namespace
{

std::string Fixture(const std::wstring& name)
{
    return ReadBytes(testsupport::RepoFolder() + L"\\tests\\data\\tasks\\" + name);
}

std::string Utf16(std::wstring_view text, bool bigEndian = false)
{
    std::string bytes;
    for (wchar_t c : text)
    {
        bytes += static_cast<char>(bigEndian ? c >> 8 : c & 0xFF);
        bytes += static_cast<char>(bigEndian ? c & 0xFF : c >> 8);
    }
    return bytes;
}

std::string Repeat(const std::string& piece, int times)
{
    std::string s;
    while (times-- > 0)
        s += piece;
    return s;
}

// Everything read, in one line.
std::wstring Summary(const TaskDefinition& d)
{
    static const wchar_t* const Kinds[] = {L"Logon", L"Boot",         L"Calendar",           L"Time", L"Idle",
                                           L"Event", L"Registration", L"SessionStateChange", L"?"};
    static const wchar_t* const Schedules[] = {L"", L" day", L" week", L" month", L" month-weekday"};
    static const wchar_t* const Actions[] = {L"Exec", L"Com", L"?"};
    std::wstring s = std::wstring(d.enabled ? L"on" : L"off") + (d.hidden ? L" hidden" : L"") +
                     (StartsAtLogonOrBoot(d) ? L" startup" : L"") + L"|" + d.author + L"|" + d.description +
                     L"|" + d.uri + L"|" + d.userId + L" " + d.runLevel;
    for (const TaskTrigger& t : d.triggers)
        s += L"|" + std::wstring(Kinds[static_cast<int>(t.kind)]) + L":" + t.element +
             (t.enabled ? L"" : L" off") + L" " + t.startBoundary + L" " + t.userId +
             Schedules[static_cast<int>(t.schedule)];
    for (const TaskAction& a : d.actions)
        s += L"|" + std::wstring(Actions[static_cast<int>(a.kind)]) + L":" + a.element + L" " + a.command +
             L" " + a.arguments + L" " + a.workingDirectory + a.classId;
    return s;
}

} // namespace

TEST(TaskDefinition, EachTaskReadsAsItsFileSaysInEveryEncoding)
{
    const std::string odd =
        "<t:Task xmlns:t='x'><!-- c --><?pi x?><t:RegistrationInfo><t:Description>a &lt;b&gt; "
        "&amp;&apos;&quot; &#65;&#x1F600; &bad; &#0; &#xD800; & <![CDATA[<c>&amp;]]>\r\n "
        "</t:Description></t:RegistrationInfo><t:Triggers><WnfStateChangeTrigger/><BootTrigger>"
        "<Enabled>false</Enabled></BootTrigger><LogonTrigger><Enabled> 1 </Enabled>"
        "</LogonTrigger></t:Triggers><t:Settings><Enabled>0</Enabled><Hidden>1</Hidden>"
        "</t:Settings><Actions><SendEmail/></Actions></t:Task>";
    const std::wstring wide = L"<Task><Settings><Hidden>true</Hidden></Settings><RegistrationInfo><Author>"
                              L"\u00c9va \u4e2d</Author></RegistrationInfo></Task>";
    const struct
    {
        std::string bytes;
        std::wstring summary;
    } cases[] = {
        {Fixture(L"Daily Notes at Logon"), L"on startup|DESKTOP-7\\ada|Opens Daily Notes in the tray when "
                                           L"Ada logs on.|\\RavelinTest\\Daily Notes at "
                                           L"Logon|S-1-5-21-3623811015-3361044348-30300820-1013 "
                                           L"LeastPrivilege|Logon:LogonTrigger  DESKTOP-7\\ada|"
                                           L"Exec:Exec \"C:\\Program Files\\Daily Notes\\notes.exe\" /tray "
                                           L"/remind C:\\Program Files\\Daily Notes"},
        {Fixture(L"Boot Check"),
         L"on startup|SyncDrive|V\u00e9rifie le disque au d\u00e9marrage & \u00e9crit un journal.||S-1-5-18 "
         L"HighestAvailable|Boot:BootTrigger  |Exec:Exec %ProgramFiles%\\SyncDrive\\check.exe --quiet --log "
         L"\"%TEMP%\\check.log\" "},
        {Fixture(L"Weather Daily"),
         L"on|Weather Widget||| |Calendar:CalendarTrigger 2024-05-01T07:30:00  day|"
         L"Exec:Exec C:\\Program Files\\Weather Widget\\refresh.exe  "},
        {Fixture(L"Updater Disabled"),
         L"off startup|SyncDrive||| |Logon:LogonTrigger  |Exec:Exec C:\\Program "
         L"Files\\SyncDrive\\update.exe  "},
        {Fixture(L"Hidden Sync"),
         L"on hidden|||\\RavelinTest\\Hidden Sync| |Time:TimeTrigger 2024-06-01T12:00:00Z |"
         L"Idle:IdleTrigger  |Com:ComHandler   {6B3A2F10-8C1D-4E5B-9A7F-0D2C4E6F8A1B}"},
        {Fixture(L"SyncDrive\\Weekly Report"), L"on|SyncDrive|Weekly usage report \u2014 Mondays|| "
                                               L"|Calendar:CalendarTrigger 2024-01-01T09:00:00  week|"
                                               L"Event:EventTrigger  |Logon:LogonTrigger off  |Exec:Exec "
                                               L"C:\\Program Files\\SyncDrive\\report.exe /week "},
        // Namespaces ignored; entities, references, CDATA; what it does not know kept as written.
        {odd, L"off hidden startup||a <b> &'\" A\U0001F600 &bad; &#0; &#xD800; & <c>&amp;|| "
              L"|?:WnfStateChangeTrigger"
              L"  |Boot:BootTrigger off  |Logon:LogonTrigger  |?:SendEmail   "},
        {"\xFF\xFE" + Utf16(wide), L"on hidden|\u00c9va \u4e2d||| "},
        {"\xFE\xFF" + Utf16(wide, true), L"on hidden|\u00c9va \u4e2d||| "},
        {Utf16(wide), L"on hidden|\u00c9va \u4e2d||| "}, // no mark: told by its first character
        {"<?xml version='1.0' encoding='windows-1252'?><Task><RegistrationInfo><Author>\xC9va</Author>"
         "</RegistrationInfo></Task>",
         L"on|\u00c9va||| "},
        {"\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-16'?><Task/>", L"on|||| "}, // the mark holds
    };
    for (const auto& c : cases)
    {
        const TaskReading reading = ReadTaskDefinition(c.bytes);
        ASSERT_TRUE(reading.definition) << DescribeTaskFault(reading.fault);
        EXPECT_EQ(Summary(*reading.definition), c.summary);
    }
}

TEST(TaskDefinition, BytesThatAreNoTaskGiveTheirReason)
{
    const struct
    {
        std::string bytes;
        std::wstring reason;
    } cases[] = {
        {Fixture(L"Broken"), L"the XML ends inside the element <Enabled> begun at line 9"},
        {"", L"the file is empty"},
        {" \r\n", L"the file is empty"},
        {"<Task>\n<Settings>\n</Task>", L"the end tag </Task> closes <Settings> at line 3"},
        {"<a:Task></b:Task>", L"the end tag </b:Task> closes <a:Task> at line 1"},
        {"</Task>", L"the end tag </Task> closes no element at line 1"},
        {"<Task><Settings", L"the XML ends inside a tag begun at line 1"},
        {"<Task a='1", L"the XML ends inside a tag begun at line 1"},
        {"<Task>\r\r<!-- x", L"the XML ends inside a comment begun at line 3"},
        {"<Task><![CDATA[x", L"the XML ends inside a CDATA section begun at line 1"},
        {"<?xml version='1.0'", L"the XML ends inside a processing instruction begun at line 1"},
        {"<!DOCTYPE Task [ <!ENTITY x '>'> ", L"the XML ends inside a document type begun at line 1"},
        {"<Task a=b/>", L"the attribute a has no quoted value at line 1"},
        {"<Task\n\n a/>", L"the attribute a has no quoted value at line 3"},
        {"<Task>< x/></Task>", L"a tag is not well formed at line 1"},
        {"<Task/>\n<Task/>", L"there is text or a second element outside the root element at line 2"},
        {"x<Task/>", L"there is text or a second element outside the root element at line 1"},
        {"<?xml version='1.0'?><!-- only -->", L"it holds no element"},
        {"<Other/>", L"its root element is <Other>, not <Task>"},
        {"<?xml version='1.0' encoding='koi8-zz'?><Task/>", L"its encoding koi8-zz is not known"},
        {"<Task>\xC3</Task>", L"its bytes are not UTF-8 text"},
        {"<?xml version='1.0' encoding='us-ascii'?><Task>\xE9</Task>", L"its bytes are not us-ascii text"},
        {"\xFF\xFE<\0T", L"its bytes are not UTF-16LE text"},
        // Deep enough to break a reader that recursed, and it still ends.
        {Repeat("<a>", 50000), L"the XML ends inside the element <a> begun at line 1"},
    };
    for (const auto& c : cases)
    {
        const TaskReading reading = ReadTaskDefinition(c.bytes);
        EXPECT_FALSE(reading.definition) << c.bytes.substr(0, 60);
        EXPECT_EQ(DescribeTaskFault(reading.fault), L"not a task file: " + c.reason);
        EXPECT_FALSE(WithTaskEnabled(c.bytes, false));
    }
    // Every cut of a task file before its end is refused, never read as a task; after it, it reads.
    const std::string whole = Fixture(L"Boot Check");
    const size_t end = whole.find("</Task>") + 7;
    for (size_t size = 0; size <= whole.size(); ++size)
        ASSERT_EQ(ReadTaskDefinition(whole.substr(0, size)).definition.has_value(), size >= end) << size;
}

TEST(TaskDefinition, EnablingAndDisablingChangeOnlyTheSettingAndComeBackByteForByte)
{
    // The mark of an inserted setting must stay as it is: files this program changed carry it.
    const std::wstring inserted = L"<Enabled>false</Enabled><!--Enabled inserted by Brightfold Ravelin-->";
    const std::string utf8Odd = "<?xml version='1.0' encoding='windows-1252'?>\n<Task><RegistrationInfo>"
                                "<Author>\xC9va</Author></RegistrationInfo><Settings/></Task>";
    const struct
    {
        std::string bytes;
        bool enabled;
        std::wstring before, after; // a piece found once in the file's text, and what it becomes
        bool back = true;           // the opposite change gives back the bytes
    } cases[] = {
        // Windows' own form: UTF-16LE with a mark and CR LF; the triggers' Enabled stays.
        {Fixture(L"Daily Notes at Logon"), false, L"<Enabled>true</Enabled>\r\n    <Hidden>",
         L"<Enabled>false</Enabled>\r\n    <Hidden>"},
        {Fixture(L"Boot Check"), false, L"<Enabled>true</Enabled>\n    <Hidden>",
         L"<Enabled>false</Enabled>\n    <Hidden>"},
        {Fixture(L"Updater Disabled"), true, L"<Enabled>false</Enabled>", L"<Enabled>true</Enabled>"},
        {Fixture(L"Weather Daily"), false, L"<Settings>\n    <Mult",
         L"<Settings>\n    " + inserted + L"\n    <Mult"},
        {Fixture(L"Weather Daily"), true, L"", L"", false}, // enabled without the setting: nothing to do
        {Fixture(L"Updater Disabled"), false, L"", L"", false},
        {"\xFE\xFF" + Utf16(L"<Task><Settings>\n\t<Enabled>1</Enabled></Settings></Task>", true), false,
         L"<Enabled>1</Enabled>", L"<Enabled>false</Enabled>", false},
        {"<t:Task xmlns:t='x'><t:Settings></t:Settings></t:Task>", false, L"<t:Settings></t:Settings>",
         L"<t:Settings><t:Enabled>false</t:Enabled><!--Enabled inserted by Brightfold "
         L"Ravelin--></t:Settings>"},
        {"<Task><Settings><Enabled> true <!-- x --></Enabled></Settings></Task>", false,
         L"<Enabled> true <!-- x --></Enabled>", L"<Enabled>false</Enabled>", false},
        {"<Task><Settings><Enabled>\n true\n</Enabled></Settings></Task>", false, L"\n true\n",
         L"\n false\n"},
        {"<Task><Settings><Enabled/></Settings></Task>", false, L"<Enabled/>", L"<Enabled>false</Enabled>",
         false},
        {utf8Odd, false, L"<Settings/>",
         L"<Settings><Enabled>false</Enabled><!--Settings inserted by Brightfold Ravelin in place "
         L"of:<Settings/>--></Settings>"},
        {"<Task>\n</Task>", false, L"\n</Task>",
         L"\n<Settings><Enabled>false</Enabled><!--Settings inserted by Brightfold Ravelin in place "
         L"of:--></Settings></Task>"},
    };
    for (const auto& c : cases)
    {
        const XmlText text = DecodeXml(c.bytes);
        std::wstring changedText = text.text;
        if (!c.before.empty())
        {
            const size_t at = text.text.find(c.before);
            ASSERT_TRUE(at != std::wstring::npos && text.text.find(c.before, at + 1) == std::wstring::npos)
                << c.before;
            changedText.replace(at, c.before.size(), c.after);
        }
        const std::string expected =
            c.bytes.substr(0, text.encoding.bomSize) + EncodeXml(text.encoding, changedText);
        const std::optional<std::string> changed = WithTaskEnabled(c.bytes, c.enabled);
        ASSERT_TRUE(changed) << c.bytes;
        EXPECT_EQ(*changed, expected);
        // And back: a value as it was written, an inserted setting taken out again.
        if (c.back)
        {
            EXPECT_EQ(WithTaskEnabled(*changed, !c.enabled), c.bytes) << c.bytes;
        }
    }
    // A setting moved away from its mark, or another comment before it, is no longer taken out.
    const std::string moved =
        "<Task><Settings><!-- mine -->" + std::string("<Enabled>false</Enabled><!--Enabled "
                                                      "inserted by Brightfold Ravelin--></Settings></Task>");
    EXPECT_EQ(WithTaskEnabled(moved, true), "<Task><Settings><!-- mine --><Enabled>true</Enabled><!--Enabled "
                                            "inserted by Brightfold Ravelin--></Settings></Task>");
    EXPECT_FALSE(WithTaskEnabled("<Task/>", false)); // nothing to hold the setting
    EXPECT_EQ(WithTaskEnabled("<Task/>", true), "<Task/>");
}
