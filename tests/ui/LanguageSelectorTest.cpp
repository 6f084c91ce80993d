// The language selector, the captions and a language change, on the real main window.
#include "ui/frmAbout.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "staging/EntryStore.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"
#include "ui/Captions.h"

using namespace testsupport;

namespace
{

// The selector's entries, each with the colour of its flag's last row as the window draws it
// (CLR_INVALID without one): a flag of 16 rows stands in the middle of an entry of 20.
struct Entry
{
    std::wstring text;
    COLORREF colour;
};
std::vector<Entry> Entries(HWND combo)
{
    std::vector<Entry> entries;
    const Canvas canvas({0, 0, 100, 20});
    for (int i = 0, count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); i < count; ++i)
    {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        const auto data = static_cast<ULONG_PTR>(SendMessageW(combo, CB_GETITEMDATA, i, 0));
        DRAWITEMSTRUCT item{ODT_COMBOBOX, IDC_COMBOLANG,   UINT(i), ODA_DRAWENTIRE, 0, combo,
                            canvas.dc,    {0, 0, 100, 20}, data};
        SendMessageW(GetParent(combo), WM_DRAWITEM, IDC_COMBOLANG, reinterpret_cast<LPARAM>(&item));
        entries.push_back(
            {text, static_cast<int>(item.itemData) >= 0 ? GetPixel(canvas.dc, 14, 17) : CLR_INVALID});
    }
    return entries;
}

class LanguageSelectorTest : public MainWindowFixture
{
  protected:
    HWND Combo() { return window->Control(IDC_COMBOLANG); }
    std::wstring Selected()
    {
        const LRESULT at = SendMessageW(Combo(), CB_GETCURSEL, 0, 0);
        return at < 0 ? L"<none>" : Entries(Combo())[static_cast<size_t>(at)].text;
    }
    std::wstring Label() { return WindowText(window->Control(IDC_LBLHEADING)); }
    std::wstring DisableButton() { return WindowText(window->Control(IDC_CMDDISABLE)); }
    std::wstring AboutTitle() { return WindowText(frmAbout::Existing()->Control(IDC_ABOUT_LBLTITLE)); }
    std::wstring Menu(UINT item, UINT by = MF_BYCOMMAND)
    {
        wchar_t text[64] = {};
        GetMenuStringW(GetMenu(window->Handle()), item, text, 64, by);
        return text;
    }
    std::wstring Header(int column)
    {
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT, item.pszText = text, item.cchTextMax = 64;
        Header_GetItem(ListView_GetHeader(window->Control(IDC_LISTSTARTUP)), column, &item);
        return text;
    }
    // A 24 x 16 bitmap file of one colour.
    void WriteFlag(const std::wstring& name, COLORREF colour)
    {
        BITMAPFILEHEADER file{0x4D42, 54 + 24 * 16 * 3, 0, 0, 54};
        BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), 24, 16, 1, 24, BI_RGB, 24 * 16 * 3, 0, 0, 0, 0};
        std::string bytes = std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
                            std::string(reinterpret_cast<const char*>(&info), sizeof(info));
        for (int i = 0; i < 24 * 16; ++i)
            bytes += {char(GetBValue(colour)), char(GetGValue(colour)), char(GetRValue(colour))};
        CreateDirectoryW(LangFolder().c_str(), nullptr);
        WriteBytes(LangFolder() + L"\\" + name, bytes);
    }
    // Picks the entry of that text and answers the question, asked in the language in use.
    void Pick(const std::wstring& text, int answer,
              const std::wstring& question = L"This will reset the startup list,continue?!")
    {
        const std::vector<Entry> entries = Entries(Combo());
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].text == text)
                SendMessageW(Combo(), CB_SETCURSEL, i, 0);
        DialogAnswer box(answer);
        window->ComboLang_Click();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Text(), question);
        EXPECT_TRUE(box.HadButton(IDYES) && box.HadButton(IDNO));
    }
};

} // namespace

TEST_F(LanguageSelectorTest, PacksAreListedInNameOrderWithTheFlagsPairedByPosition)
{
    // None in an empty Lang folder: the built-in texts stay.
    CreateDirectoryW(LangFolder().c_str(), nullptr);
    Open();
    EXPECT_EQ(SendMessageW(Combo(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(LanguagePacksFound);
    EXPECT_EQ(MessageTexts, (std::array<std::wstring, 3>{}));
    EXPECT_EQ(Label() + DisableButton(), L"StartUp Programs&Disable");
    window.reset();

    WritePack(L"French.ini", L"101=Programmes\r\n");
    WritePack(L"English.ini", L"101=Programs\r\n");
    Open();
    std::vector<Entry> entries = Entries(Combo());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text + L"|" + entries[1].text, L"English|French");
    EXPECT_EQ(entries[0].colour, CLR_INVALID) << "no bitmaps, no flags";
    EXPECT_EQ(Selected(), L"English") << "nothing stored: English";
    window.reset();

    // A bitmap without a pack, listed first, shifts every later flag by one.
    WriteFlag(L"Aardvark.bmp", RGB(0, 255, 0));
    WriteFlag(L"English.bmp", RGB(255, 0, 0));
    WriteFlag(L"French.bmp", RGB(0, 0, 255));
    Open();
    entries = Entries(Combo());
    EXPECT_EQ(entries[0].colour, RGB(0, 255, 0));
    EXPECT_EQ(entries[1].colour, RGB(255, 0, 0));
}

TEST_F(LanguageSelectorTest, YesOnAnotherPackSetsTheCaptionsAndIsStoredAsWritten)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n109=Title\r\n");
    // An extension in capitals is listed and stored as written; a missing key (101) empties its target.
    WritePack(L"FRENCH.INI", L"109=Titre\r\n110=&Fichier\r\n142=À &propos\r\n151=Nom\r\n302=Ravelin FR\r\n"
                             L"411=Les deux\r\n102=&Désactiver\r\n");
    platform::SaveLanguageSetting(L"Klingon.ini"); // a stored choice that is gone empties every target
    frmMain& w = Open();
    EXPECT_EQ(frmAbout::Existing(), nullptr) << "the About box is made when it is opened";
    EXPECT_EQ(Selected(), L"<none>");
    EXPECT_EQ(WindowText(w.Handle()) + Label() + DisableButton(), L"");
    w.mnuAbout_Click();
    EXPECT_EQ(AboutTitle(), L"") << "made with the captions in use";
    Pick(L"FRENCH", IDYES);
    EXPECT_EQ(WindowText(w.Handle()) + L"|" + Label() + L"|" + Menu(0, MF_BYPOSITION) + L"|" +
                  Menu(IDM_ABOUT) + L"|" + Header(0),
              L"Titre||&Fichier|À &propos|Nom");
    EXPECT_EQ(MessageTexts[1], L"Les deux");
    EXPECT_EQ(DisableButton(), L"&Désactiver") << "the enabled row's Disable caption";
    EXPECT_EQ(AboutTitle(), L"Ravelin FR") << "the box open during the change took the new captions at once";
    window.reset();
    EXPECT_EQ(platform::LoadLanguageSetting(), L"FRENCH.ini");
}

TEST_F(LanguageSelectorTest, AStoredPackGivesTheFirstScreenItsWordsAndABrokenSkinDoesNotStopTheStart)
{
    InstallShippedPacks();
    WriteBytes(programFolder + L"\\Title.skn", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    platform::SaveLanguageSetting(L"German.ini");
    frmMain& w = Open(); // fails the test when the start is refused
    wchar_t cue[64] = {};
    SendMessageW(w.Control(IDC_TXTFILTER), EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
    EXPECT_EQ(Header(LoadFrom) + L"|" + Header(User) + L"|" + Header(PublisherColumn) + L"|" + cue + L"|" +
                  Menu(IDM_OPENLOCATION) + L"|" + Menu(IDM_PROPERTIES) + L"|" + StatusText(1),
              L"Geladen von|Benutzer|Herausgeber|Filtern|&Speicherort \u00f6ffnen|&Eigenschaften|0 von 0 "
              L"angezeigt");
    EXPECT_FALSE(SetMenuText(GetMenu(w.Handle()), IDM_PROPERTIES, FALSE, L"&Eigenschaften")) << "no change";
}

TEST_F(LanguageSelectorTest, NoKeepsThePackAndYesRebuildsTheListAndAStoredRowSurvivesTheRoundTrip)
{
    InstallShippedPacks();
    const std::wstring tool = SystemFile(L"notepad.exe"); // there: enabled without a question
    ASSERT_EQ(WriteEntryFile({{L"Tool", L"Disabled", L"Registry(User Run)", L"Current User",
                               L"Current User logs On", tool}},
                             StorePath()),
              static_cast<DWORD>(ERROR_SUCCESS));
    platform::SaveLanguageSetting(L"english.ini"); // in another case than the file's: its entry all the same
    frmMain& w = Open();
    const StartupList& list = w.State().List;
    ASSERT_EQ(list.Count(), 1);
    w.cmdDisable_Click(); // enabled, staged only
    {
        DialogAnswer box(IDNO); // an arrow key on the closed selector: one question for the gesture
        SendMessageW(Combo(), WM_KEYDOWN, VK_DOWN, 0);
        PumpMessages();
        EXPECT_EQ(box.Shown(), 1);
    }
    EXPECT_EQ(LanguageFile, L"english.ini");
    EXPECT_EQ(Selected(), L"English") << "No puts the current pack back";
    EXPECT_EQ(list.State(1), EntryState::Enabled) << "the staged change stays";
    Pick(L"English", IDYES);
    EXPECT_EQ(list.State(1), EntryState::Disabled) << "the list is read again: the staged change is gone";
    {
        DialogAnswer box(IDYES); // a pick from the open list: two notifications, one question
        SendMessageW(Combo(), CB_SETCURSEL, 2, 0);
        for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(IDC_COMBOLANG, code),
                         reinterpret_cast<LPARAM>(Combo()));
        PumpMessages();
        EXPECT_EQ(box.Shown(), 1);
    }
    EXPECT_EQ(RowTexts(list, Status)[0] + L"|" + RowTexts(list, LoadFrom)[0],
              L"Désactivé|Registre(Utilisateur Run)");
    Pick(L"English", IDYES, L"Cela va réinitialiser la liste de démarrage, continuer ?");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(RowTexts(list, Status)[0] + L"|" + RowTexts(list, LoadFrom)[0], L"Disabled|Registry(User Run)");
    EXPECT_EQ(DisableButton(), L"&Enable");
    w.cmdDisable_Click();
    w.mnuApp_Just_Click();
    // Written back to its source and gone from the store.
    EXPECT_EQ(RegStringValue(HKEY_CURRENT_USER, RunKey, L"Tool"), tool);
    EXPECT_FALSE(platform::FileExists(StorePath()));
}

TEST_F(LanguageSelectorTest, ABitmapOrPackThatIsNoneIsToldAndTheProgramGoesOn)
{
    SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n");
    WriteBytes(LangFolder() + L"\\Zulu.bmp", "GIF89a not a bitmap at all");
    {
        DialogAnswer box(IDOK);
        frmMain& w = Open();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_NE(box.Text().find(L"Zulu.bmp"), std::wstring::npos) << box.Text();
        // The fill ended there: no pack listed, so the built-in captions stay; the list is filled.
        EXPECT_EQ(SendMessageW(Combo(), CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(Label(), L"StartUp Programs");
        EXPECT_EQ(w.State().List.Count(), 1);
        window.reset();
    }
    DeleteFileW((LangFolder() + L"\\Zulu.bmp").c_str());
    WriteBytes(LangFolder() + L"\\French.ini", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18));
    platform::SaveLanguageSetting(L"French.ini");
    DialogAnswer told(IDOK); // at the start, then when picked: English stays
    Open();
    EXPECT_EQ(told.Shown(), 1);
    SendMessageW(Combo(), CB_SETCURSEL, 1, 0);
    window->ComboLang_Click();
    EXPECT_EQ(told.Shown(), 2);
    EXPECT_NE(told.Text().find(L"French.ini"), std::wstring::npos);
    EXPECT_EQ(LanguageFile, L"English.ini");
    EXPECT_EQ(Selected(), L"English");
    EXPECT_EQ(Label(), L"Programs");
}
