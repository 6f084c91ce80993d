// Finding and judging entries on the real main window: header clicks, the filter box, file facts
// arriving after the window shows, and the row's jump to its place.
#include "app/frmMain.h"
#include "app/resource.h"
#include "platform/Launch.h"
#include "staging/EntryStore.h"
#include "support/Fixtures.h"
#include "support/WindowFixture.h"

#include <commctrl.h>

namespace {

const std::wstring RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class FindWindowTest : public testsupport::MainWindowFixture {
  protected:
    void Notify(UINT code, int item, int subItem)
    {
        NMLISTVIEW info{};
        info.hdr = {window->Control(IDC_LISTVIEW1), IDC_LISTVIEW1, code};
        info.iItem = item;
        info.iSubItem = subItem;
        SendMessageW(window->Handle(), WM_NOTIFY, IDC_LISTVIEW1, reinterpret_cast<LPARAM>(&info));
    }
    void Command(int id) { SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void SelectRow(int index)
    {
        ListView_SetItemState(window->Control(IDC_LISTVIEW1), index, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    std::vector<std::wstring> Column(int column)
    {
        HWND list = window->Control(IDC_LISTVIEW1);
        std::vector<std::wstring> texts;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            wchar_t text[512] = {};
            ListView_GetItemText(list, i, column, text, 512);
            texts.push_back(text);
        }
        return texts;
    }
    int HeaderArrow(int column)
    {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(window->Control(IDC_LISTVIEW1)), column, &item);
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }
};

} // namespace

TEST_F(FindWindowTest, SortAndFilterHoldThroughStagingAndApply)
{
    for (const wchar_t* name : {L"Beta", L"alpha", L"Gamma"})
        testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, name, std::wstring(name) + L".exe");
    frmMain& w = Open();
    Notify(LVN_COLUMNCLICK, -1, TaskName);
    EXPECT_EQ(Column(TaskName), (std::vector<std::wstring>{L"alpha", L"Beta", L"Gamma"}));
    EXPECT_EQ(HeaderArrow(TaskName), HDF_SORTUP);
    Notify(LVN_COLUMNCLICK, -1, TaskName);
    EXPECT_EQ(Column(TaskName), (std::vector<std::wstring>{L"Gamma", L"Beta", L"alpha"}));
    EXPECT_EQ(HeaderArrow(TaskName), HDF_SORTDOWN);

    SelectRow(0);
    Command(IDC_CMDDISABLE);
    EXPECT_EQ(Column(Status), (std::vector<std::wstring>{L"Disabled", L"Enabled", L"Enabled"}));
    w.mnuApp_Just_Click();
    EXPECT_FALSE(testsupport::RegValueExists(HKEY_CURRENT_USER, RunKey, L"Gamma"));
    EXPECT_TRUE(testsupport::RegValueExists(HKEY_CURRENT_USER, RunKey, L"Beta"));
    EXPECT_EQ(ReadEntryRecords(StorePath()).records.at(0)[TaskName], L"Gamma");
    EXPECT_EQ(Column(TaskName), (std::vector<std::wstring>{L"Gamma", L"Beta", L"alpha"}));
    // The model and its baseline keep the order the rows were added in, paired record by row.
    const std::vector<std::wstring> added = testsupport::RowTexts(w.State().List, TaskName);
    ASSERT_EQ(w.State().BaselineEntries.size(), added.size());
    for (size_t k = 0; k < added.size(); ++k) EXPECT_EQ(w.State().BaselineEntries[k][TaskName], added[k]);
    EXPECT_EQ(w.State().List.Text(w.State().List.Selected(), TaskName), L"Gamma");

    SetWindowTextW(w.Control(IDC_TXTFILTER), L"ALP");
    EXPECT_EQ(Column(TaskName), (std::vector<std::wstring>{L"alpha"}));
    wchar_t count[128] = {};
    SendMessageW(w.Control(IDC_STATUSBAR), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(count));
    EXPECT_EQ(std::wstring(count), L"1 of 3 shown");
    EXPECT_EQ(w.State().List.Selected(), 0) << "the hidden row is no longer the one the buttons act on";
    Command(IDM_FIND);
    EXPECT_EQ(GetFocus(), w.Control(IDC_TXTFILTER));
}

TEST_F(FindWindowTest, FileFactsArriveAfterTheStartAndMarkMissingFilesAndPublishers)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring here = L"\"" + std::wstring(module) + L"\" /x", gone = L"C:\\nowhere\\gone.exe";
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Here", here);
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Gone", gone);
    frmMain& w = Open();
    Notify(LVN_COLUMNCLICK, -1, TaskName); // Gone, Here
    EXPECT_EQ(Column(PublisherColumn), (std::vector<std::wstring>{L"", L""}))
        << "nothing is looked at before the first paint";
    while (!w.Facts().Find(here) || !w.Facts().Find(gone)) {
        ASSERT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT), WAIT_TIMEOUT);
        testsupport::PumpMessages();
    }
    EXPECT_EQ(Column(PublisherColumn), (std::vector<std::wstring>{L"", L"Brightfold"}));

    auto drawn = [&](int index) {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {w.Control(IDC_LISTVIEW1), IDC_LISTVIEW1, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
        draw.clrText = draw.clrTextBk = CLR_DEFAULT;
        SendMessageW(w.Handle(), WM_NOTIFY, IDC_LISTVIEW1, reinterpret_cast<LPARAM>(&draw));
        return draw.clrText;
    };
    EXPECT_NE(drawn(0), CLR_DEFAULT) << "the missing file's row has its own colour";
    EXPECT_EQ(drawn(1), CLR_DEFAULT);

    std::vector<std::wstring> started;
    w.Launcher.startProgram = [&](const std::wstring& program, const std::wstring& arguments) {
        started.push_back(platform::CommandLine(program, arguments));
        return DWORD(ERROR_SUCCESS);
    };
    SelectRow(0);
    SendMessageW(w.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(w.Handle()), 0)),
                 0);
    EXPECT_TRUE(GetMenuState(GetMenu(w.Handle()), IDM_PROPERTIES, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(GetMenu(w.Handle()), IDM_OPENLOCATION, MF_BYCOMMAND) & MF_GRAYED);
    Command(IDM_OPENLOCATION);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_NE(started[0].find(L"regedit.exe"), std::wstring::npos);
}
