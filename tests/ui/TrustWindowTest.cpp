// The main window judges its entries by their signatures: the Signer column beside Publisher, the
// boxes that hide Windows' own and verified entries (remembered, counted on the status bar), and a
// signer who is not the publisher coloured and told in Properties.
#include "platform/Files.h"
#include "platform/Names.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

using namespace testsupport;

class TrustWindowTest : public MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        UseSystemTrust();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        platform::RemoveFile(inWindows, true);
    }
    // Opened, and every row's signature known.
    frmMain& OpenJudged(int rows)
    {
        frmMain& w = Open();
        auto judged = [&] {
            const StartupList& list = w.State().List;
            int known = 0;
            for (int row = 1; row <= list.Count(); ++row)
                if (const FileFacts* facts = w.Facts().Find(list.Row(row).location))
                    known += facts->state == FileFacts::State::Missing || w.Facts().TrustOf(facts);
            return known == rows;
        };
        while (!judged())
        {
            EXPECT_NE(MsgWaitForMultipleObjects(0, nullptr, FALSE, 30000, QS_ALLINPUT), WAIT_TIMEOUT);
            PumpMessages();
        }
        return w;
    }
    std::wstring Column(int column)
    {
        const HWND list = window->Control(IDC_LISTSTARTUP);
        std::wstring texts;
        for (int i = 0; i < ListView_GetItemCount(list); ++i)
            texts += ItemText(list, i, column) + L";";
        return texts;
    }
    const std::wstring inWindows =
        platform::GetWindowsFolder() + L"\\ravtest-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
};

TEST_F(TrustWindowTest, SignersShowBesidePublishersAndTheBoxesHideWindowsOwnAndVerifiedEntries)
{
    const std::wstring samples = BuildFolder() + L"\\tests\\trust\\";
    ASSERT_TRUE(CopyFileW((samples + L"microsoft.exe").c_str(), inWindows.c_str(), FALSE));
    SetRegString(HKEY_CURRENT_USER, RunKey, L"A Vendor", L"\"" + samples + L"vendor.exe\" /tray");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"B Stranger", samples + L"stranger.exe");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"C Windows", inWindows);
    SetRegString(HKEY_CURRENT_USER, RunKey, L"D Changed", samples + L"tampered.exe");
    SetRegString(HKEY_CURRENT_USER, RunKey, L"E Gone", samples + L"gone.exe");
    frmMain& w = OpenJudged(5);
    EXPECT_EQ(Column(SignerColumn), L"SyncDrive Software;Quickfix Utilities;Microsoft Corporation;"
                                    L"Not verified: changed after signing;File missing;");

    // The stranger's row has colours of its own, and Properties says why.
    auto drawn = [&](int index) {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {w.Control(IDC_LISTSTARTUP), IDC_LISTSTARTUP, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
        draw.clrText = CLR_DEFAULT;
        SendMessageW(w.Handle(), WM_NOTIFY, IDC_LISTSTARTUP, reinterpret_cast<LPARAM>(&draw));
        return draw.clrText;
    };
    EXPECT_EQ(drawn(0), CLR_DEFAULT);
    EXPECT_NE(drawn(1), CLR_DEFAULT);
    EXPECT_NE(drawn(1), drawn(4)) << "unlike a missing file's";
    int propertiesShown = 0;
    w.Launcher.showProperties = [&](HWND, const std::wstring&) { return ++propertiesShown, DWORD(0); };
    for (int index : {1, 0})
    {
        ListView_SetItemState(w.Control(IDC_LISTSTARTUP), index, LVIS_SELECTED, LVIS_SELECTED);
        DialogAnswer answer(IDOK);
        Command(IDM_PROPERTIES);
        // Then what the entry cost the last logon: this prefix has no record of one.
        EXPECT_EQ(answer.Texts().substr(0, answer.Texts().find(L"\r\n")),
                  std::wstring(index == 1 ? L"\nThis file is signed by Quickfix Utilities, while it names "
                                            L"SyncDrive Software as its publisher."
                                          : L"") +
                      L"\nLogon impact: Not measured");
    }
    EXPECT_EQ(propertiesShown, 2) << "the properties come all the same";

    // Hiding Windows' own: only the file in the Windows folder that Microsoft signed.
    SendMessageW(w.Control(IDC_CHKHIDEWINDOWS), BM_CLICK, 0, 0);
    EXPECT_EQ(Column(TaskName), L"A Vendor;B Stranger;D Changed;E Gone;");
    EXPECT_EQ(StatusText(1), L"4 of 5 shown, 1 hidden");
    SendMessageW(w.Control(IDC_CHKHIDEVERIFIED), BM_CLICK, 0, 0);
    EXPECT_EQ(Column(TaskName), L"D Changed;E Gone;");
    EXPECT_EQ(StatusText(1), L"2 of 5 shown, 3 hidden");

    // Remembered for the next start.
    window.reset();
    frmMain& again = OpenJudged(5);
    EXPECT_EQ(SendMessageW(again.Control(IDC_CHKHIDEVERIFIED), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(again.Control(IDC_CHKHIDEWINDOWS), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Column(TaskName), L"D Changed;E Gone;");
}
