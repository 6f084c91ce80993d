// The Add Task dialog on the real main window: opened from its button, driven inside its own
// modal loop, and its rows carried through a real apply.
#include "../apply/ApplyFixture.h"
#include "app/frmMain.h"
#include "app/resource.h"
#include "dialogs/frmAddTask.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Names.h"
#include "platform/Settings.h"
#include "platform/Text.h"
#include "support/Fixtures.h"
#include "support/DialogAnswer.h"

#include <commctrl.h>
#include <dlgs.h>

#include <functional>

using testsupport::MessageBoxAnswer;
using testsupport::RavelinTest;

namespace {

const std::wstring RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// What the dialog offers, in its order: every source but the machine's RunServices key.
const wchar_t* const EnglishSources[] = {
    L"Registry(User Run)",           L"Registry(Machine Run)",           L"Registry(Machine RunOnce)",
    L"Registry(Machine RunOnceEx)",  L"Registry(Machine Run 32-bit)",    L"Registry(Machine RunOnce 32-bit)",
    L"Registry(User RunOnce)",       L"Registry(User Policies Run)",     L"Registry(Machine Policies Run)",
    L"StartUp (Current User)",       L"StartUp (All Users)",             L"Win.ini Load",
    L"Win.ini Run",
};
constexpr int OfferedCount = static_cast<int>(std::size(EnglishSources));

int Offered(const std::wstring& id)
{
    for (int i = 0; i < OfferedCount; ++i)
        if (id == EnglishSources[i]) return i;
    ADD_FAILURE() << "not offered";
    return 0;
}
bool IsWinIni(int source)
{
    return std::wstring(EnglishSources[source]).starts_with(L"Win.ini");
}

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::vector<std::wstring> ComboItems(HWND combo)
{
    std::vector<std::wstring> items;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

int WindowsOfClass(const wchar_t* className)
{
    struct Search {
        const wchar_t* name;
        int count;
    } search{className, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[64] = {};
            GetClassNameW(window, cls, 64);
            if (lstrcmpW(cls, s->name) == 0) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

// Runs an action on the open dialog from inside its modal loop: a thread timer fires once the
// loop takes messages, as the first user input would.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(frmAddTask&)> action)
    {
        action_ = std::move(action);
        ran_ = false;
        timer_ = SetTimer(nullptr, 0, 0, Tick);
    }
    ~DialogDriver()
    {
        if (!ran_) KillTimer(nullptr, timer_);
    }
    bool Ran() const { return ran_; }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        ran_ = true;
        if (frmAddTask* dialog = frmAddTask::Existing()) action_(*dialog);
        else ADD_FAILURE() << "no Add Task dialog was open";
    }
    static inline std::function<void(frmAddTask&)> action_;
    static inline bool ran_ = false;
    UINT_PTR timer_ = 0;
};

// Answers the next common Open dialog of this thread: picks file, or cancels when it is empty.
// It records the dialog's title and its file types.
class OpenDialogAnswer {
  public:
    explicit OpenDialogAnswer(std::wstring file = {})
    {
        file_ = std::move(file);
        shown_ = 0;
        types_.clear();
        hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~OpenDialogAnswer() { UnhookWindowsHookEx(hook_); }
    int Shown() const { return shown_; }
    const std::vector<std::wstring>& Types() const { return types_; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            wchar_t cls[32] = {};
            GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 32);
            if (lstrcmpW(cls, L"#32770") == 0 && !box_) {
                box_ = reinterpret_cast<HWND>(wParam);
                SetTimer(nullptr, 0, 0, Answer);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // Runs in the dialog's own loop, once it is up.
    static void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        HWND box = box_;
        box_ = nullptr;
        ++shown_;
        types_ = ComboItems(GetDlgItem(box, cmb1));
        int button = IDCANCEL;
        if (!file_.empty()) {
            HWND name = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1);
            SetWindowTextW(name, file_.c_str());
            button = IDOK;
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    }
    static inline std::wstring file_;
    static inline int shown_ = 0;
    static inline std::vector<std::wstring> types_;
    static inline HWND box_ = nullptr;
    HHOOK hook_ = nullptr;
};

// Takes an entry out of its place without the program.
void TakeAway(const applytest::Place& place, const std::wstring& taskName)
{
    switch (place.kind) {
    case applytest::Place::Registry:
        RegDeleteKeyValueW(place.root, place.path.c_str(), taskName.c_str());
        break;
    case applytest::Place::StartUp:
        DeleteFileW((platform::GetSpecialFolderPath(place.csidl) + L"\\" + taskName + L".lnk").c_str());
        break;
    case applytest::Place::WinIni:
        WritePrivateProfileStringW(L"Windows", place.name.c_str(), L"",
                                   (platform::GetWindowsFolder() + L"\\win.ini").c_str());
        break;
    }
}

// What a user does in the dialog.
void Type(frmAddTask& dialog, int id, const std::wstring& text)
{
    SetWindowTextW(dialog.Control(id), text.c_str());
}
void PickSource(frmAddTask& dialog, int index)
{
    HWND combo = dialog.Control(IDC_ADDTASK_COMBO1);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_ADDTASK_COMBO1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}
void Press(frmAddTask& dialog, int id)
{
    SendMessageW(dialog.Control(id), BM_CLICK, 0, 0);
}

class AddTaskTest : public RavelinTest {
  protected:
    void TearDown() override
    {
        window.reset();
        RavelinTest::TearDown();
    }
    frmMain& Open()
    {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Create(GetModuleHandleW(nullptr)));
        ShowWindow(window->Handle(), SW_SHOW);
        testsupport::PumpMessages();
        return *window;
    }
    // Presses the main window's Add Task button; action runs on the dialog it opens. Returns
    // once the dialog has closed.
    void AddTask(std::function<void(frmAddTask&)> action)
    {
        DialogDriver driver(std::move(action));
        SendMessageW(window->Control(IDC_CMDADDTASK), BM_CLICK, 0, 0);
        EXPECT_TRUE(driver.Ran()) << "the button opened the dialog";
        EXPECT_EQ(frmAddTask::Existing(), nullptr) << "the dialog closed";
        EXPECT_EQ(WindowsOfClass(platform::names::AddTaskWindowClass), 0);
        EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the main window is usable again";
    }
    // Adds one task through the dialog.
    void AddTask(const std::wstring& name, int source, const std::wstring& location)
    {
        AddTask([&](frmAddTask& d) {
            Type(d, IDC_ADDTASK_TXTNAME, name);
            PickSource(d, source);
            Type(d, IDC_ADDTASK_TXTLOCATION, location);
            Press(d, IDC_ADDTASK_CMDADD);
        });
    }
    int ShownRows() { return ListView_GetItemCount(window->Control(IDC_LISTVIEW1)); }
    void SelectRow(int position)
    {
        HWND list = window->Control(IDC_LISTVIEW1);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, position - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    const StartupList& List() { return window->State().List; }
    std::unique_ptr<frmMain> window;
};

} // namespace

TEST_F(AddTaskTest, OpensModalOwnedByTheMainWindowAndFreshEachTime)
{
    frmMain& w = Open();
    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(GetWindow(d.Handle(), GW_OWNER), w.Handle());
        EXPECT_FALSE(IsWindowEnabled(w.Handle())) << "modal: the main window waits";
        EXPECT_TRUE(IsWindowVisible(d.Handle()));
        EXPECT_EQ(WindowText(d.Handle()), L"Add Task");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL1)), L"Task Name:");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL3)), L"Add in        :");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL5)), L"Location   :");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_COMMAND1)), L"&Browse");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMDADD)), L"&Add");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMDCANCEL)), L"&Cancel");

        // Only the sources a writer knows and a user may add to, the user's Run key first and
        // chosen; no typing.
        HWND combo = d.Control(IDC_ADDTASK_COMBO1);
        EXPECT_EQ(ComboItems(combo), std::vector<std::wstring>(std::begin(EnglishSources), std::end(EnglishSources)));
        EXPECT_EQ(WindowText(combo), L"Registry(User Run)");
        EXPECT_EQ(GetWindowLongW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);

        // Tab order: name, location, source, Add, Cancel, Browse, and round again.
        const int order[] = {IDC_ADDTASK_TXTNAME, IDC_ADDTASK_TXTLOCATION, IDC_ADDTASK_COMBO1,
                             IDC_ADDTASK_CMDADD,  IDC_ADDTASK_CMDCANCEL,   IDC_ADDTASK_COMMAND1,
                             IDC_ADDTASK_TXTNAME};
        for (size_t i = 0; i + 1 < std::size(order); ++i)
            EXPECT_EQ(GetNextDlgTabItem(d.Handle(), d.Control(order[i]), FALSE), d.Control(order[i + 1]))
                << "after " << order[i];
        EXPECT_EQ(GetFocus(), d.Control(IDC_ADDTASK_TXTNAME));

        // Three rows top to bottom, Browse right of the location, Add left of Cancel below them.
        auto rect = [&](int id) {
            RECT r;
            GetWindowRect(d.Control(id), &r);
            return r;
        };
        EXPECT_LT(rect(IDC_ADDTASK_TXTNAME).bottom, rect(IDC_ADDTASK_COMBO1).top);
        EXPECT_LT(rect(IDC_ADDTASK_COMBO1).top + 24, rect(IDC_ADDTASK_TXTLOCATION).top);
        EXPECT_GE(rect(IDC_ADDTASK_COMMAND1).left, rect(IDC_ADDTASK_TXTLOCATION).right);
        EXPECT_LT(rect(IDC_ADDTASK_TXTLOCATION).bottom, rect(IDC_ADDTASK_CMDADD).top);
        EXPECT_LE(rect(IDC_ADDTASK_CMDADD).right, rect(IDC_ADDTASK_CMDCANCEL).left);

        Type(d, IDC_ADDTASK_TXTNAME, L"Left behind");
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\left.exe");
        PickSource(d, Offered(L"StartUp (All Users)"));
        Press(d, IDC_ADDTASK_CMDCANCEL);
    });
    EXPECT_EQ(List().Count(), 0) << "Cancel adds nothing";

    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_TXTNAME)), L"");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_TXTLOCATION)), L"");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_COMBO1)), L"Registry(User Run)");
        // Esc cancels as the button does, and so does the close box.
        SendMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
    });
    AddTask([&](frmAddTask& d) { SendMessageW(d.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(List().Count(), 0);
}

TEST_F(AddTaskTest, EachSourceGivesTheRowOfItsTable)
{
    InstallShippedPacks();
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Existing", L"C:\\existing.exe");
    frmMain& w = Open();
    ASSERT_EQ(List().Count(), 1);
    const std::wstring buttonBefore = WindowText(w.Control(IDC_CMDDISABLE));
    for (int source = 0; source < OfferedCount; ++source)
        AddTask(L"Task " + std::to_wstring(source), source, L"\"C:\\t " + std::to_wstring(source) + L".exe\" /x");

    ASSERT_EQ(List().Count(), OfferedCount + 1);
    EXPECT_EQ(ShownRows(), OfferedCount + 1) << "the list shows the rows at once";
    for (int source = 0; source < OfferedCount; ++source) {
        const StartupEntry& row = List().Row(source + 2);
        const bool winIni = IsWinIni(source);
        EXPECT_EQ(row[TaskName], winIni ? EnglishSources[source] : L"Task " + std::to_wstring(source));
        EXPECT_EQ(row[Status], L"Enabled");
        EXPECT_EQ(row[LoadFrom], EnglishSources[source]);
        // Only the source named by key 414 counts as the user's own; the user's StartUp folder too
        // gets the all-users word.
        EXPECT_EQ(row[User], source == 0 ? L"Current User" : L"All Users") << source;
        EXPECT_EQ(row[When], L"User Logs On");
        EXPECT_EQ(row[Location], L"\"C:\\t " + std::to_wstring(source) + L".exe\" /x") << "taken as typed";
    }
    // The main window learns of the rows only by their presence.
    EXPECT_EQ(w.State().BaselineCount, 1);
    EXPECT_EQ(List().Selected(), 1);
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), buttonBefore);

    // In another language the words are that pack's.
    window.reset();
    platform::SaveLanguageSetting(L"French.ini");
    Open();
    AddTask(L"Outil", 0, L"C:\\outil.exe");
    AddTask(L"Autre", Offered(L"StartUp (All Users)"), L"C:\\autre.exe");
    const int n = List().Count();
    EXPECT_EQ(List().Row(n - 1), (StartupEntry{L"Outil", L"Activé", L"Registre(Utilisateur Run)", L"Utilisateur actuel",
                                               L"Ouverture de session de l'utilisateur", L"C:\\outil.exe"}));
    EXPECT_EQ(List().Row(n), (StartupEntry{L"Autre", L"Activé", L"Démarrage (Tous les utilisateurs)",
                                           L"Tous les utilisateurs", L"Ouverture de session de l'utilisateur",
                                           L"C:\\autre.exe"}));
}

TEST_F(AddTaskTest, WinIniSourcesDisableTheNameAndOthersEnableItWithItsText)
{
    Open();
    AddTask([&](frmAddTask& d) {
        HWND name = d.Control(IDC_ADDTASK_TXTNAME);
        Type(d, IDC_ADDTASK_TXTNAME, L"Mine");
        const int load = Offered(L"Win.ini Load"), run = Offered(L"Win.ini Run");
        for (int source : {load, run}) {
            PickSource(d, source);
            EXPECT_FALSE(IsWindowEnabled(name)) << source;
            EXPECT_EQ(WindowText(name), L"Mine");
        }
        for (int source = 0; source < OfferedCount; ++source) {
            if (IsWinIni(source)) continue;
            PickSource(d, run);
            PickSource(d, source);
            EXPECT_TRUE(IsWindowEnabled(name)) << source;
            EXPECT_EQ(WindowText(name), L"Mine");
        }
        PickSource(d, load);
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\loader.exe");
        Press(d, IDC_ADDTASK_CMDADD);
    });
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1)[TaskName], L"Win.ini Load") << "the source names the row";
    EXPECT_EQ(List().Row(1)[LoadFrom], L"Win.ini Load");
    EXPECT_EQ(List().Row(1)[Location], L"C:\\loader.exe");
}

TEST_F(AddTaskTest, AnEmptyNameOrLocationGivesTheMessageNoRowAndClosesTheDialog)
{
    InstallShippedPacks();
    Open();
    ASSERT_EQ(MessageTexts[1], L"Please give both a task name and a location.");
    struct Case {
        const wchar_t* name;
        const wchar_t* location;
        int source;
    };
    // An empty name counts also while the win.ini source has the field disabled.
    for (const Case& c : {Case{L"", L"C:\\a.exe", 0}, Case{L"A", L"", 0}, Case{L"", L"", Offered(L"StartUp (Current User)")},
                          Case{L"", L"C:\\a.exe", Offered(L"Win.ini Run")}}) {
        MessageBoxAnswer box(IDOK);
        AddTask([&](frmAddTask& d) {
            Type(d, IDC_ADDTASK_TXTNAME, c.name);
            Type(d, IDC_ADDTASK_TXTLOCATION, c.location);
            PickSource(d, c.source);
            Press(d, IDC_ADDTASK_CMDADD);
        });
        EXPECT_EQ(box.Shown(), 1) << c.name << "|" << c.location;
        EXPECT_EQ(box.Text(), L"Please give both a task name and a location.");
        EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
        EXPECT_TRUE(box.HadButton(IDOK));
        EXPECT_FALSE(box.HadButton(IDCANCEL));
        EXPECT_EQ(List().Count(), 0);
    }
    // Blanks are text: nothing is trimmed.
    AddTask(L" ", 0, L" ");
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1)[TaskName], L" ");
}

TEST_F(AddTaskTest, WithoutPacksTheDesignStaysAndTheWordsOfThePackAreEmpty)
{
    Open();
    ASSERT_FALSE(LanguagePacksFound);
    AddTask(L"Tool", 0, L"C:\\tool.exe");
    ASSERT_EQ(List().Count(), 1);
    // The Enabled word falls back to English, so that the row is written at apply.
    EXPECT_EQ(List().Row(1), (StartupEntry{L"Tool", L"Enabled", L"Registry(User Run)", L"", L"", L"C:\\tool.exe"}));

    MessageBoxAnswer box(IDOK);
    AddTask(L"", 1, L"C:\\tool.exe");
    EXPECT_EQ(box.Shown(), 1);
    EXPECT_EQ(box.Text(), L"") << "an empty message box";
    EXPECT_EQ(List().Count(), 1);
}

TEST_F(AddTaskTest, CaptionsComeFromThePackAndAMissingKeyEmptiesJustItsTarget)
{
    WritePack(L"English.ini", L"201=T201\r\n151=T151\r\n202=T202\r\n156=T156\r\n203=T203\r\n205=T205\r\n");
    Open();
    AddTask([&](frmAddTask& d) {
        EXPECT_EQ(WindowText(d.Handle()), L"T201");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL1)), L"T151");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL3)), L"T202");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_LABEL5)), L"T156");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMDADD)), L"T203");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMDCANCEL)), L"");
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_COMMAND1)), L"T205");
        EXPECT_FALSE(GetWindowLongW(d.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        Press(d, IDC_ADDTASK_CMDCANCEL);
    });
}

TEST_F(AddTaskTest, OnlyArabicDotIniExactlyLaysTheDialogOutRightToLeft)
{
    InstallShippedPacks();
    for (const wchar_t* stored : {L"Arabic.ini", L"arabic.ini"}) {
        platform::SaveLanguageSetting(stored);
        Open();
        AddTask([&](frmAddTask& d) {
            const bool mirrored = GetWindowLongW(d.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL;
            EXPECT_EQ(mirrored, std::wstring(stored) == L"Arabic.ini") << std::wstring(stored);
            // Mirrored, each label stands right of its field; the location still reads left to right.
            RECT label, name;
            GetWindowRect(d.Control(IDC_ADDTASK_LABEL1), &label);
            GetWindowRect(d.Control(IDC_ADDTASK_TXTNAME), &name);
            EXPECT_EQ(label.left > name.left, mirrored);
            EXPECT_FALSE(GetWindowLongW(d.Control(IDC_ADDTASK_TXTLOCATION), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
            EXPECT_EQ(WindowText(d.Handle()), L"إضافة مهمة");
            EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_CMDADD)), L"إ&ضافة");
            EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_COMBO1)), L"السجل(تشغيل المستخدم)");
            Press(d, IDC_ADDTASK_CMDCANCEL);
        });
        window.reset();
    }
}

TEST_F(AddTaskTest, BrowseOffersProgramsAndAllFilesAndACancelRestoresWhatTheDialogHeld)
{
    const std::wstring picked = programFolder + L"\\picked.exe";
    testsupport::WriteBytes(picked, "MZ");
    Open();
    AddTask([&](frmAddTask& d) {
        HWND location = d.Control(IDC_ADDTASK_TXTLOCATION);
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\typed.exe");
        {
            OpenDialogAnswer cancel;
            Press(d, IDC_ADDTASK_COMMAND1);
            EXPECT_EQ(cancel.Shown(), 1) << "a real Open dialog came up";
            EXPECT_EQ(cancel.Types(), (std::vector<std::wstring>{L"Programs (*.exe)", L"All Files (*.*)"}));
        }
        EXPECT_EQ(WindowText(location), L"") << "cancelled at the first Browse: the location is emptied";
        {
            OpenDialogAnswer pick(picked);
            Press(d, IDC_ADDTASK_COMMAND1);
            EXPECT_EQ(pick.Shown(), 1);
        }
        EXPECT_TRUE(platform::EqualsNoCase(WindowText(location), picked)) << WindowText(location);
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\typed again.exe");
        {
            OpenDialogAnswer cancel;
            Press(d, IDC_ADDTASK_COMMAND1);
            EXPECT_EQ(cancel.Shown(), 1);
        }
        EXPECT_TRUE(platform::EqualsNoCase(WindowText(location), picked)) << "the name the dialog held comes back";
        Type(d, IDC_ADDTASK_TXTNAME, L"Picked");
        Press(d, IDC_ADDTASK_CMDADD);
    });
    ASSERT_EQ(List().Count(), 1);
    EXPECT_TRUE(platform::EqualsNoCase(List().Row(1)[Location], picked));
    // The next opening starts from an empty file name again.
    AddTask([&](frmAddTask& d) {
        Type(d, IDC_ADDTASK_TXTLOCATION, L"C:\\typed.exe");
        OpenDialogAnswer cancel;
        Press(d, IDC_ADDTASK_COMMAND1);
        EXPECT_EQ(WindowText(d.Control(IDC_ADDTASK_TXTLOCATION)), L"");
        Press(d, IDC_ADDTASK_CMDCANCEL);
    });
}

TEST_F(AddTaskTest, JustApplyWritesEachAddedTaskToItsSourceOnce)
{
    InstallShippedPacks();
    Open();
    const std::wstring target = programFolder + L"\\tool.exe";
    testsupport::WriteBytes(target, "MZ");
    for (int source = 0; source < OfferedCount; ++source) AddTask(L"Added " + std::to_wstring(source), source, target);
    window->mnuApp_Just_Click();

    // Every place holds its entry, read back as a scan would.
    std::vector<applytest::Place> places;
    for (const applytest::Place& place : applytest::Places())
        if (place.loadFrom != L"Registry(Machine RunServices)") places.push_back(place);
    ASSERT_EQ(places.size(), std::size(EnglishSources));
    for (int source = 0; source < OfferedCount; ++source) {
        const applytest::Place& place = places[static_cast<size_t>(source)];
        ASSERT_EQ(place.loadFrom, EnglishSources[source]);
        const std::wstring value = applytest::ReadPlace(place, L"Added " + std::to_wstring(source));
        EXPECT_TRUE(platform::EqualsNoCase(value, target)) << place.loadFrom << ": " << value;
    }
    EXPECT_EQ(window->State().BaselineCount, OfferedCount) << "the rows are recorded now";

    // Taken away behind the program's back, they are not written again by a second apply.
    for (int source = 0; source < OfferedCount; ++source) TakeAway(places[static_cast<size_t>(source)], L"Added " + std::to_wstring(source));
    window->mnuApp_Just_Click();
    for (int source = 0; source < OfferedCount; ++source) {
        const std::wstring value = applytest::ReadPlace(places[static_cast<size_t>(source)], L"Added " + std::to_wstring(source));
        EXPECT_EQ(value, IsWinIni(source) ? L"" : L"<missing>") << EnglishSources[source];
    }
}

TEST_F(AddTaskTest, AnAddedTaskDisabledBeforeApplyIsStoredNotWritten)
{
    InstallShippedPacks();
    frmMain& w = Open();
    AddTask(L"Later", 0, L"C:\\later.exe");
    SelectRow(1);
    w.cmdDisable_Click();
    ASSERT_EQ(List().Row(1)[Status], L"Disabled");
    w.mnuApp_Just_Click();
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, RunKey, L"Later"));
    EXPECT_EQ(applytest::StoredNames(), std::vector<std::wstring>{L"Later"});
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1)[Status], L"Disabled");

    // It comes back disabled at the next start, and enabling it writes it then.
    window.reset();
    frmMain& again = Open();
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1)[TaskName], L"Later");
    EXPECT_EQ(List().Row(1)[Status], L"Disabled");
    SelectRow(1);
    again.cmdDisable_Click();
    again.mnuApp_Just_Click();
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunKey, L"Later"), L"C:\\later.exe");
}

TEST_F(AddTaskTest, AnAddedTaskMarkedRemoveBeforeApplyIsNeverWrittenAndGoes)
{
    InstallShippedPacks();
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Kept", L"C:\\kept.exe");
    frmMain& w = Open();
    AddTask(L"Never", Offered(L"StartUp (Current User)"), L"C:\\never.exe");
    ASSERT_EQ(List().Count(), 2);
    SelectRow(2);
    w.cmdRemove_Click();
    ASSERT_EQ(List().Row(2)[Status], L"Remove");
    w.mnuApp_Just_Click();
    EXPECT_FALSE(platform::FileExists(UserStartup() + L"\\Never.lnk"));
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().Row(1)[TaskName], L"Kept");
    EXPECT_EQ(ShownRows(), 1);
    EXPECT_TRUE(applytest::StoredNames().empty());
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunKey, L"Kept"), L"C:\\kept.exe");
}

TEST(AddTaskPacks, EveryShippedPackGivesTheMessageAndNamesItsUserRunSourceForTheUserColumn)
{
    const std::wstring folder = testsupport::RepoFolder() + L"\\data\\Lang";
    auto value = [](const std::wstring& pack, const wchar_t* key) {
        wchar_t text[500] = {};
        GetPrivateProfileStringW(L"Brightfold Language Pack", key, L"", text, 500, pack.c_str());
        return std::wstring(text);
    };
    for (const wchar_t* name : {L"Arabic.ini", L"English.ini", L"French.ini", L"German.ini"}) {
        const std::wstring pack = folder + L"\\" + name;
        EXPECT_GT(value(pack, L"411").size(), 10u) << std::wstring(name);
        EXPECT_FALSE(value(pack, L"417").empty()) << std::wstring(name);
        // Key 414 is compared with the chosen source: it must be the pack's user Run name.
        EXPECT_EQ(value(pack, L"414"), value(pack, L"426")) << std::wstring(name);
        EXPECT_FALSE(value(pack, L"414").empty()) << std::wstring(name);
    }
}
