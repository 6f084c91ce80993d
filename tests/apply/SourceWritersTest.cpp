// The source writers on the real registry, win.ini and StartUp folders of the test prefix.
#include "ApplyFixture.h"
#include "app/MainState.h"
#include "apply/SourceWriters.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shortcuts.h"
#include "platform/Text.h"

#include <shlobj.h>

using namespace applytest;

namespace {

class SourceWritersTest : public ApplyTest {
  protected:
    std::wstring UserShortcut(const std::wstring& name) const
    {
        return UserStartup() + L"\\" + name + L".lnk";
    }
    platform::Reg reg;
};

} // namespace

TEST_F(SourceWritersTest, EachSourceIsWrittenThenTakenOut)
{
    // The scratch registry starts without any run key: writing creates the key.
    for (const Place& place : Places()) {
        SCOPED_TRACE(std::string(place.loadFrom.begin(), place.loadFrom.end()));
        const EntryRecord record = Record(L"Task One", L"Enabled", place.loadFrom, L"C:\\Apps\\one.exe -q");
        ASSERT_EQ(ReadPlace(place, L"Task One"), L"<missing>");

        WriteResult written = WriteToSource(record, reg);
        EXPECT_EQ(written.outcome, WriteResult::Done);
        EXPECT_EQ(ReadPlace(place, L"Task One"), L"C:\\Apps\\one.exe -q");

        WriteResult removed = RemoveFromSource(record, reg);
        EXPECT_EQ(removed.outcome, WriteResult::Done);
        // win.ini keeps its key with an empty value; the others lose the entry.
        EXPECT_EQ(ReadPlace(place, L"Task One"), place.kind == Place::WinIni ? L"" : L"<missing>");
    }
}

TEST_F(SourceWritersTest, RegistryDataKeepsItsTypeAndAWinIniWriteReplacesTheWholeValue)
{
    const Place& machineRun = PlaceOf(L"Registry(Machine Run)");
    WriteToSource(Record(L"Audio", L"Enabled", machineRun.loadFrom, L"%ProgramFiles%\\audio.exe"), reg);
    DWORD type = 0;
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"Audio", &type),
              L"%ProgramFiles%\\audio.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

    SeedPlace(PlaceOf(L"Win.ini Load"), L"", L"C:\\old.exe C:\\older.exe");
    WriteToSource(Record(L"New", L"Enabled", L"Win.ini Load", L"C:\\new.exe"), reg);
    EXPECT_EQ(WinIniValue(L"Load"), L"C:\\new.exe");
    EXPECT_EQ(WinIniValue(L"Run"), L"<missing>"); // the other line is not touched
}

TEST_F(SourceWritersTest, WhatIsNotThereIsAbsentAndAnUnknownSourceIsLeftAlone)
{
    for (const Place& place : Places()) {
        if (place.kind == Place::WinIni) continue;
        EXPECT_EQ(RemoveFromSource(Record(L"Nothing", L"Disabled", place.loadFrom, L"x"), reg).outcome,
                  WriteResult::Absent);
    }

    // Load From compares exactly: case and blanks count.
    testsupport::SetRegString(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool", L"C:\\tool.exe");
    for (const wchar_t* loadFrom : {L"registry(user run)", L"Registry(User Run) ", L"", L"Registry"}) {
        const EntryRecord record = Record(L"Tool", L"Disabled", loadFrom, L"C:\\other.exe");
        EXPECT_EQ(RemoveFromSource(record, reg).outcome, WriteResult::NoSource);
        EXPECT_EQ(WriteToSource(record, reg).outcome, WriteResult::NoSource);
    }
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunBase + L"Run", L"Tool"), L"C:\\tool.exe");
}

TEST_F(SourceWritersTest, LocalizedNamesFollowThePackOfTheMomentButMachineRowsStayEnglish)
{
    WritePack(L"French.ini", L"419=Registre\r\n426=Registre(Utilisateur)\r\n427=Registre(Machine Run)\r\n"
                             L"430=D\u00e9marrage (Utilisateur)\r\n432=Win.ini Chargement\r\n");
    LanguageFile = L"French.ini";
    EXPECT_EQ(WriteToSource(Record(L"A", L"", L"Registre(Utilisateur)", L"C:\\a.exe"), reg).outcome,
              WriteResult::Done);
    EXPECT_EQ(WriteToSource(Record(L"B", L"", L"D\u00e9marrage (Utilisateur)", L"C:\\b.exe"), reg).outcome,
              WriteResult::Done);
    EXPECT_EQ(WriteToSource(Record(L"", L"", L"Win.ini Chargement", L"C:\\c.exe"), reg).outcome,
              WriteResult::Done);
    EXPECT_EQ(WinIniValue(L"Load"), L"C:\\c.exe");
    // The English names of translated sources no longer match; machine rows are known in English only.
    EXPECT_EQ(WriteToSource(Record(L"D", L"", L"Registry(User Run)", L"C:\\d.exe"), reg).outcome,
              WriteResult::NoSource);
    EXPECT_EQ(WriteToSource(Record(L"E", L"", L"Registre(Machine Run)", L"C:\\e.exe"), reg).outcome,
              WriteResult::NoSource);
    EXPECT_EQ(WriteToSource(Record(L"F", L"", L"Registry(Machine Run)", L"C:\\f.exe"), reg).outcome,
              WriteResult::Done);
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunBase + L"Run", L"A"), L"C:\\a.exe");
    EXPECT_EQ(testsupport::RegStringValue(HKEY_LOCAL_MACHINE, RunBase + L"Run", L"F"), L"C:\\f.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"StartUp (Current User)"), L"B"), L"C:\\b.exe");

    // Back to English on the next call.
    LanguageFile = L"English.ini";
    EXPECT_EQ(RemoveFromSource(Record(L"A", L"", L"Registry(User Run)", L""), reg).outcome,
              WriteResult::Done);
}

TEST_F(SourceWritersTest, StartUpRowsAreAlwaysTheShortcutNamedAfterTheTask)
{
    const std::wstring user = L"StartUp (Current User)";
    // A target with arguments is kept whole as the target path.
    WriteToSource(Record(L"Notes", L"", user, L"C:\\Tools\\notes.exe -minimized --tray"), reg);
    std::wstring target;
    ASSERT_TRUE(platform::ReadShortcutTarget(UserShortcut(L"Notes"), target));
    EXPECT_EQ(target, L"C:\\Tools\\notes.exe -minimized --tray");

    // A file that is not a shortcut is not deleted; enabling it makes a shortcut beside it.
    testsupport::WriteBytes(UserStartup() + L"\\readme.txt", "plain");
    EXPECT_EQ(RemoveFromSource(Record(L"readme.txt", L"", user, L""), reg).outcome, WriteResult::Absent);
    EXPECT_TRUE(platform::FileExists(UserStartup() + L"\\readme.txt"));
    WriteToSource(Record(L"readme.txt", L"", user, L"C:\\readme.exe"), reg);
    EXPECT_TRUE(platform::FileExists(UserShortcut(L"readme.txt")));

    // A read-only shortcut stays, and the writer says why.
    SetFileAttributesW(UserShortcut(L"Notes").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteResult removed = RemoveFromSource(Record(L"Notes", L"", user, L""), reg);
    EXPECT_EQ(removed.outcome, WriteResult::Failed);
    EXPECT_EQ(removed.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(platform::FileExists(UserShortcut(L"Notes")));
}

TEST_F(SourceWritersTest, AnExistingShortcutKeepsItsOtherSettingsAndNoShortcutLosesItsTarget)
{
    const std::wstring path = UserShortcut(L"Mail");
    {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        ASSERT_HRESULT_SUCCEEDED(
            CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
        link->SetPath(L"C:\\Mail\\old.exe");
        link->SetArguments(L"-background");
        Microsoft::WRL::ComPtr<IPersistFile> file;
        ASSERT_HRESULT_SUCCEEDED(link.As(&file));
        ASSERT_HRESULT_SUCCEEDED(file->Save(path.c_str(), TRUE));
    }
    EXPECT_EQ(CreateShortcutFile(path, L"C:\\Mail\\new.exe"), static_cast<DWORD>(ERROR_SUCCESS));
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Load(path.c_str(), STGM_READ));
    wchar_t text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    EXPECT_STREQ(text, L"C:\\Mail\\new.exe");
    link->GetArguments(text, MAX_PATH);
    EXPECT_STREQ(text, L"-background");

    // A target the link object will not take is refused, never saved as an empty shortcut.
    const std::wstring quoted = UserShortcut(L"Quoted");
    const std::wstring odd = L"C:\\Apps\\x.exe \"a b\" -y";
    if (CreateShortcutFile(quoted, odd) == ERROR_SUCCESS) {
        std::wstring stored;
        ASSERT_TRUE(platform::ReadShortcutTarget(quoted, stored));
        EXPECT_EQ(stored, odd);
    } else {
        EXPECT_FALSE(platform::FileExists(quoted));
    }
}

namespace {

struct Opened {
    HKEY root;
    std::wstring path;
    REGSAM access;
};
std::vector<Opened> opened;
void RecordOpen(HKEY root, const std::wstring& path, REGSAM access)
{
    opened.push_back({root, path, access});
}

} // namespace

TEST_F(SourceWritersTest, The32BitProgramsKeysAreAskedForThroughTheirViewNotByTheirPlace)
{
    // Wine, like Windows, keeps the 32-bit view in Wow6432Node; what the program asks for is
    // recorded, since only that is the same on a Windows that keeps the view elsewhere.
    opened.clear();
    platform::SetRegOpenHook(RecordOpen);
    int listed = 0;
    for (const wchar_t* loadFrom : {L"Registry(Machine Run 32-bit)", L"Registry(Machine RunOnce 32-bit)"}) {
        const EntryRecord record = Record(L"Wide", L"Enabled", loadFrom, L"C:\\wide.exe");
        WriteToSource(record, reg);
        MainState state;
        FillStartupList(state);
        EXPECT_EQ(state.List.Count(), ++listed);
        RemoveFromSource(record, reg);
        WriteToSource(record, reg);
    }
    platform::SetRegOpenHook(nullptr);

    int throughView = 0;
    for (const Opened& o : opened) {
        EXPECT_EQ(platform::FindNoCase(o.path, L"Wow6432Node"), std::wstring::npos) << o.path;
        if (!(o.access & KEY_WOW64_32KEY)) continue;
        ++throughView;
        EXPECT_EQ(o.root, HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(o.path == RunBase + L"Run" || o.path == RunBase + L"RunOnce") << o.path;
    }
    EXPECT_GE(throughView, 2 * 4) << "each write, scan and removal went through the view";
    EXPECT_EQ(ReadPlace(PlaceOf(L"Registry(Machine Run 32-bit)"), L"Wide"), L"C:\\wide.exe");
    EXPECT_EQ(ReadPlace(PlaceOf(L"Registry(Machine Run)"), L"Wide"), L"<missing>");
}
