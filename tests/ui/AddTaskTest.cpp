// The Add Task dialog on the real main window, driven inside its own modal loop: its fields, its
// validation, and the row each kind of source gives. Writing the rows is the apply engine's part.
#include "ui/frmAbout.h"
#include "ui/frmAddTask.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

#include <functional>
#include <tuple>

using namespace testsupport;

namespace
{

// Runs the pending action on the open dialog from inside its modal loop: a thread timer fires
// once the loop takes messages, as the first user input would.
std::function<void(frmAddTask&)> pending;
void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (frmAddTask* dialog = frmAddTask::Existing())
        std::exchange(pending, nullptr)(*dialog);
}

class AddTaskTest : public MainWindowFixture
{
  protected:
    static void Type(frmAddTask& d, int id, const std::wstring& t)
    {
        SetWindowTextW(d.Control(id), t.c_str());
    }
    static void Press(frmAddTask& d, int id) { SendMessageW(d.Control(id), BM_CLICK, 0, 0); }
    static void PickSource(frmAddTask& d, const std::wstring& source)
    {
        HWND combo = d.Control(IDC_ADDTASK_CMBSOURCE);
        const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(source.c_str()));
        ASSERT_NE(index, CB_ERR) << "not offered";
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_ADDTASK_CMBSOURCE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
    // Presses the main window's Add Task button and runs action on the dialog; returns once it closed.
    void AddTask(std::function<void(frmAddTask&)> action)
    {
        ShowWindow(window->Handle(), SW_SHOW);
        pending = std::move(action);
        const UINT_PTR timer = SetTimer(nullptr, 0, 0, RunPending);
        SendMessageW(window->Control(IDC_CMDADDTASK), BM_CLICK, 0, 0);
        if (pending)
            KillTimer(nullptr, timer);
        EXPECT_FALSE(pending) << "the button opened the dialog";
        EXPECT_EQ(frmAddTask::Existing(), nullptr) << "the dialog closed";
        EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the main window is usable again";
    }
    void AddTask(const std::wstring& name, const std::wstring& source, const std::wstring& location)
    {
        AddTask([&](frmAddTask& d) {
            Type(d, IDC_ADDTASK_TXTNAME, name);
            PickSource(d, source);
            Type(d, IDC_ADDTASK_TXTLOCATION, location);
            Press(d, IDC_ADDTASK_CMDADD);
        });
    }
    const StartupList& List() { return window->State().List; }
};

} // namespace

TEST_F(AddTaskTest, OpensModalEmptyEachTimeAndCancellingAddsNothing)
{
    frmMain& w = Open();
    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(GetWindow(d.Handle(), GW_OWNER), w.Handle());
        EXPECT_FALSE(IsWindowEnabled(w.Handle())) << "modal: the main window waits";
        EXPECT_EQ(GetFocus(), d.Control(IDC_ADDTASK_TXTNAME));
        // Every source a user may add to but the machine's RunServices key.
        HWND combo = d.Control(IDC_ADDTASK_CMBSOURCE), name = d.Control(IDC_ADDTASK_TXTNAME);
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 13);
        EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(L"Registry(Machine RunServices)")),
                  CB_ERR);
        // The win.ini sources name their rows: the name field is disabled but keeps its text.
        Type(d, IDC_ADDTASK_TXTNAME, L"Mine");
        for (const wchar_t* source :
             {L"Win.ini Run", L"Registry(User Run)", L"Win.ini Load", L"StartUp (All Users)"})
        {
            PickSource(d, source);
            EXPECT_EQ(IsWindowEnabled(name), !std::wstring(source).starts_with(L"Win.ini")) << source;
            EXPECT_EQ(WindowText(name), L"Mine");
        }
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\left.exe");
        Press(d, IDC_ADDTASK_CMDCANCEL);
    });
    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_TXTNAME)) + WindowText(d.Control(IDC_ADDTASK_TXTLOCATION)),
                  L"");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMBSOURCE)), L"Registry(User Run)");
        SendMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0); // Esc
    });
    AddTask([&](frmAddTask& d) { SendMessageW(d.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(List().Count(), 0);
}

TEST_F(AddTaskTest, EachKindOfSourceGivesItsRowInThePacksWordsAndArabicDialogsAreRightToLeft)
{
    InstallShippedPacks();
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Existing", L"C:\\existing.exe");
    frmMain& w = Open();
    const std::wstring buttonBefore = WindowText(w.Control(IDC_CMDDISABLE));
    // Win.ini rows are named by their source; only the user's own Run key is the current user's.
    struct Case
    {
        const wchar_t *source, *rowName, *user;
    } cases[] = {
        {L"Registry(User Run)", L"Task", L"Current User"},
        {L"Registry(Machine RunOnce)", L"Task", L"All Users"},
        {L"Registry(User Policies Run)", L"Task", L"All Users"},
        {L"StartUp (Current User)", L"Task", L"All Users"},
        {L"Win.ini Load", L"Win.ini Load", L"All Users"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.source);
        AddTask(L"Task", c.source, L"\"C:\\t 1.exe\" /x");
        EXPECT_EQ(
            ShownTexts(List().Row(List().Count())),
            (FileRecord{c.rowName, L"Enabled", c.source, c.user, L"User Logs On", L"\"C:\\t 1.exe\" /x"}));
    }
    EXPECT_EQ(ListView_GetItemCount(w.Control(IDC_LISTSTARTUP)), List().Count()) << "shown at once";
    // Neither the baseline nor the selection (and so the buttons) follow an added row.
    EXPECT_EQ(w.State().BaselineEntries.size(), 1u);
    EXPECT_EQ(List().Selected(), 1);
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), buttonBefore);

    window.reset();
    platform::SaveLanguageSetting(L"French.ini");
    Open();
    AddTask(L"Outil", L"Registre(Utilisateur Run)", L"C:\\outil.exe");
    EXPECT_EQ(ShownTexts(List().Row(List().Count())),
              (FileRecord{L"Outil", L"Activé", L"Registre(Utilisateur Run)", L"Utilisateur actuel",
                          L"Ouverture de session de l'utilisateur", L"C:\\outil.exe"}));

    // In Arabic the dialogs are right to left, but the location and the main window.
    window.reset();
    platform::SaveLanguageSetting(L"Arabic.ini");
    Open();
    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(WindowText(d.Handle()), L"إضافة مهمة");
        EXPECT_TRUE(GetWindowLongW(d.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        EXPECT_FALSE(GetWindowLongW(d.Control(IDC_ADDTASK_TXTLOCATION), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        Press(d, IDC_ADDTASK_CMDCANCEL);
    });
    window->mnuAbout_Click();
    EXPECT_TRUE(GetWindowLongW(frmAbout::Existing()->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    EXPECT_FALSE(GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
}

TEST_F(AddTaskTest, AnEmptyNameOrLocationIsToldAndAddsNothingButBlanksAreText)
{
    WritePack(L"English.ini", L"411=Fill in both.\r\n"); // no Enabled word: the English one, written at apply
    Open();
    // An empty name counts also while a win.ini source has the field disabled.
    for (auto [name, location, source] :
         {std::tuple{L"", L"C:\\a.exe", L"Registry(User Run)"}, std::tuple{L"A", L"", L"Registry(User Run)"},
          std::tuple{L"", L"C:\\a.exe", L"Win.ini Run"}})
    {
        SCOPED_TRACE(std::wstring(name) + L"|" + location + L"|" + source);
        DialogAnswer box(IDOK);
        AddTask(name, source, location);
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Text(), L"Fill in both.");
        EXPECT_TRUE(box.HadButton(IDOK) && !box.HadButton(IDCANCEL));
        EXPECT_EQ(List().Count(), 0);
    }
    AddTask(L" ", L"Registry(User Run)", L" ");
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(ShownTexts(List().Row(1)),
              (FileRecord{L" ", L"Enabled", L"Registry(User Run)", L"", L"", L" "}));
}

TEST_F(AddTaskTest, BrowseOffersProgramsAndACancelPutsBackWhatTheOpenDialogHeld)
{
    const std::wstring picked = programFolder + L"\\picked.exe";
    WriteBytes(picked, "MZ");
    Open();
    auto browse = [](frmAddTask& d, const std::wstring& file) {
        DialogAnswer answer(file);
        Press(d, IDC_ADDTASK_CMDBROWSE);
        EXPECT_EQ(answer.Shown(), 1) << "a real Open dialog came up";
        EXPECT_EQ(answer.FilterChoices(), L"Programs (*.exe)|All Files (*.*)");
        return WindowText(d.Control(IDC_ADDTASK_TXTLOCATION));
    };
    AddTask([&](frmAddTask& d) {
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\typed.exe");
        EXPECT_EQ(browse(d, L""), L"") << "cancelled at the first Browse: the location is emptied";
        EXPECT_TRUE(platform::EqualsNoCase(browse(d, picked), picked));
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\typed again.exe");
        EXPECT_TRUE(platform::EqualsNoCase(browse(d, L""), picked)) << "the name the dialog held comes back";
        Type(d, IDC_ADDTASK_TXTNAME, L"Picked");
        Press(d, IDC_ADDTASK_CMDADD);
    });
    ASSERT_EQ(List().Count(), 1);
    EXPECT_TRUE(platform::EqualsNoCase(List().Row(1).location, picked));
}
