// The language selector, the captions and a language change, on the real main window.
#include "app/StartupSource.h"
#include "app/frmMain.h"
#include "app/resource.h"
#include "dialogs/frmAbout.h"
#include "i18n/Captions.h"
#include "i18n/Globals.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "staging/EntryStore.h"
#include "support/DialogAnswer.h"
#include "support/WindowFixture.h"

#include <commctrl.h>

using testsupport::MessageBoxAnswer;
using testsupport::WindowText;

namespace {

constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A 24 x 16 bitmap file of one colour.
std::string SolidBitmap(COLORREF colour)
{
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), 24, 16, 1, 24, BI_RGB, 24 * 16 * 3, 0, 0, 0, 0};
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes = std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
                        std::string(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int i = 0; i < 24 * 16; ++i)
        bytes += {static_cast<char>(GetBValue(colour)), static_cast<char>(GetGValue(colour)), static_cast<char>(GetRValue(colour))};
    return bytes;
}

// The entries of the selector, each with the colour at the middle of its image as drawn.
struct Entry {
    std::wstring text;
    COLORREF colour;
};
std::vector<Entry> Entries(HWND combo)
{
    std::vector<Entry> entries;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(combo, CBEM_GETIMAGELIST, 0, 0));
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 24, 16));
    for (int i = 0, count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE, item.iItem = i, item.pszText = text, item.cchTextMax = MAX_PATH;
        SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (images) ImageList_Draw(images, item.iImage, dc, 0, 0, ILD_NORMAL);
        entries.push_back({text, images ? GetPixel(dc, 12, 8) : CLR_INVALID});
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return entries;
}

// Reads a caption's target back through the windows that show it.
std::wstring TargetText(frmMain& w, const Caption& caption)
{
    wchar_t text[1024] = {};
    HDITEMW column{};
    column.mask = HDI_TEXT, column.pszText = text, column.cchTextMax = 1024;
    frmAbout* about = frmAbout::Existing();
    switch (caption.target) {
    case CaptionTarget::MainTitle: return WindowText(w.Handle());
    case CaptionTarget::MainControl: return WindowText(w.Control(caption.id));
    case CaptionTarget::Menu: GetMenuStringW(GetMenu(w.Handle()), caption.id, text, 1024, MF_BYPOSITION); return text;
    case CaptionTarget::MenuItem: GetMenuStringW(GetMenu(w.Handle()), caption.id, text, 1024, MF_BYCOMMAND); return text;
    case CaptionTarget::AboutTitle: return about ? WindowText(about->Handle()) : L"<no About box>";
    case CaptionTarget::AboutControl: return about ? WindowText(about->Control(caption.id)) : L"<no About box>";
    case CaptionTarget::Message: return MessageTexts[static_cast<size_t>(caption.id)];
    case CaptionTarget::ColumnHeader: Header_GetItem(ListView_GetHeader(w.Control(IDC_LISTVIEW1)), caption.id, &column); return text;
    case CaptionTarget::EnableCaption: return w.State().EnableCaption;
    case CaptionTarget::DisableCaption: return w.State().DisableCaption;
    }
    return L"<unknown target>";
}

class LanguageSelectorTest : public testsupport::MainWindowFixture {
  protected:
    HWND Combo() { return window->Control(IDC_COMBOLANG); }
    std::wstring Selected()
    {
        const LRESULT at = SendMessageW(Combo(), CB_GETCURSEL, 0, 0);
        return at < 0 ? L"<none>" : Entries(Combo())[static_cast<size_t>(at)].text;
    }
    void WriteFlag(const std::wstring& name, COLORREF colour)
    {
        CreateDirectoryW(LangFolder().c_str(), nullptr);
        testsupport::WriteBytes(LangFolder() + L"\\" + name, SolidBitmap(colour));
    }
    // Every key of the caption table as the prefix and the key, but one key left out.
    void WriteCaptionPack(const std::wstring& name, const std::wstring& prefix, const std::wstring& leftOut = L"",
                          const std::wstring& more = L"")
    {
        std::wstring lines = more;
        for (const Caption& caption : CaptionTable())
            if (caption.key != leftOut) lines += std::wstring(caption.key) + L"=" + prefix + caption.key + L"\r\n";
        WritePack(name, lines);
    }
    // Picks the entry of that text and answers the question.
    void Pick(const std::wstring& text, int answer)
    {
        const std::vector<Entry> entries = Entries(Combo());
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].text == text) SendMessageW(Combo(), CB_SETCURSEL, i, 0);
        MessageBoxAnswer box(answer);
        window->ComboLang_Click();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Text(), L"This will reset the startup list,continue?!");
        EXPECT_TRUE(box.HadButton(IDYES) && box.HadButton(IDNO));
    }
};

} // namespace

TEST_F(LanguageSelectorTest, WithoutPacksTheSelectorIsEmptyAndBuiltInTextsStay)
{
    for (bool makeFolder : {false, true}) {
        if (makeFolder) CreateDirectoryW(LangFolder().c_str(), nullptr);
        frmMain& w = Open();
        EXPECT_EQ(SendMessageW(Combo(), CB_GETCOUNT, 0, 0), 0);
        EXPECT_FALSE(LanguagePacksFound);
        EXPECT_EQ(MessageTexts, (std::array<std::wstring, 3>{}));
        EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"StartUp Programs");
        EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Disable");
        EXPECT_EQ(frmAbout::Existing(), nullptr) << "no captions, no hidden About box";
        window.reset();
    }
}

TEST_F(LanguageSelectorTest, FlagsPairWithPacksByPositionInNameOrder)
{
    WritePack(L"French.ini", L"101=Programmes\r\n");
    WritePack(L"English.ini", L"101=Programs\r\n");
    Open();
    std::vector<Entry> entries = Entries(Combo());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text + L"|" + entries[1].text, L"English|French");
    EXPECT_EQ(entries[0].colour, CLR_INVALID) << "no bitmaps, no flags";
    EXPECT_EQ(Selected(), L"English") << "nothing stored: English";
    window.reset();

    WriteFlag(L"English.bmp", RGB(255, 0, 0));
    WriteFlag(L"French.bmp", RGB(0, 0, 255));
    Open();
    entries = Entries(Combo());
    EXPECT_EQ(entries[0].colour, RGB(255, 0, 0));
    EXPECT_EQ(entries[1].colour, RGB(0, 0, 255));
    window.reset();
    // A bitmap without a pack, listed first, shifts every later flag by one.
    WriteFlag(L"Aardvark.bmp", RGB(0, 255, 0));
    Open();
    entries = Entries(Combo());
    EXPECT_EQ(entries[0].colour, RGB(0, 255, 0));
    EXPECT_EQ(entries[1].colour, RGB(255, 0, 0));
}

TEST_F(LanguageSelectorTest, YesOnAnotherPackSetsEveryTargetAndTheRowWordsAndIsStored)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WriteCaptionPack(L"English.ini", L"E");
    // An extension in capitals is listed and stored as written; a missing key empties just its target.
    WriteCaptionPack(L"FRENCH.INI", L"F", L"303", L"413=Activé\r\n426=Registre(Utilisateur Run)\r\n");
    frmMain& w = Open();
    EXPECT_EQ(TargetText(w, CaptionTable()[0]), L"E" + std::wstring(CaptionTable()[0].key));
    Pick(L"FRENCH", IDYES);
    EXPECT_EQ(LanguageFile, L"FRENCH.ini");
    for (const Caption& caption : CaptionTable())
        EXPECT_EQ(TargetText(w, caption), caption.key == std::wstring(L"303") ? L"" : L"F" + std::wstring(caption.key))
            << "key " << caption.key;
    EXPECT_EQ(w.State().List.Text(1, Status), L"Activé");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registre(Utilisateur Run)");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"F102") << "the enabled row's Disable caption";
    // The About box that took its captions is the one the Help menu shows.
    w.mnuAbout_Click();
    EXPECT_EQ(WindowText(frmAbout::Existing()->Control(IDC_ABOUT_LBLTITLE)), L"F302");
    window.reset();
    EXPECT_EQ(platform::LoadLanguageSetting(), L"FRENCH.ini");
    Open();
    EXPECT_EQ(Selected(), L"FRENCH");
}

TEST_F(LanguageSelectorTest, AStoredChoiceThatIsGoneEmptiesEveryTarget)
{
    WriteCaptionPack(L"English.ini", L"E");
    platform::SaveLanguageSetting(L"Klingon.ini");
    frmMain& w = Open();
    EXPECT_EQ(Selected(), L"<none>");
    EXPECT_TRUE(LanguagePacksFound);
    for (const Caption& caption : CaptionTable()) EXPECT_EQ(TargetText(w, caption), L"") << "key " << caption.key;
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"");
}

TEST_F(LanguageSelectorTest, NoKeepsThePackAndTheStagedChangeAndYesOnTheSamePackDropsIt)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n102=&Disable\r\n107=&Enable\r\n413=Enabled\r\n423=Disabled\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n413=Activé\r\n");
    platform::SaveLanguageSetting(L"english.ini"); // stored in another case than the file's
    frmMain& w = Open();
    w.cmdDisable_Click(); // staged, not applied
    {
        // An arrow key on the closed selector: one question for the gesture.
        MessageBoxAnswer box(IDNO);
        HWND inner = reinterpret_cast<HWND>(SendMessageW(Combo(), CBEM_GETCOMBOCONTROL, 0, 0));
        SendMessageW(inner, WM_KEYDOWN, VK_DOWN, 0);
        testsupport::PumpMessages();
        EXPECT_EQ(box.Shown(), 1);
    }
    EXPECT_EQ(LanguageFile, L"english.ini");
    EXPECT_EQ(Selected(), L"English") << "No puts the current pack back";
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"Programs");
    EXPECT_EQ(w.State().List.Text(1, Status), L"Disabled") << "the staged change stays";

    // The pack changes on disk; captions would show it only if they were applied again.
    WritePack(L"English.ini", L"101=Changed\r\n102=&Off\r\n107=&On\r\n413=Enabled\r\n423=Disabled\r\n");
    Pick(L"English", IDYES);
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"Programs");
    EXPECT_EQ(w.State().List.Text(1, Status), L"Enabled") << "the staged change is gone";
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Disable") << "button from the rebuilt row";
    {
        // A pick from the open list: both notifications of one gesture give one question.
        MessageBoxAnswer box(IDYES);
        SendMessageW(Combo(), CB_SETCURSEL, 1, 0);
        for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
            SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(IDC_COMBOLANG, code), reinterpret_cast<LPARAM>(Combo()));
        testsupport::PumpMessages();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(LanguageFile, L"French.ini");
    }
}

TEST_F(LanguageSelectorTest, OnlyArabicDotIniExactlyLaysTheAboutBoxOutRightToLeft)
{
    WritePack(L"Arabic.ini", L"301=حول\r\n");
    for (const wchar_t* stored : {L"Arabic.ini", L"arabic.ini"}) {
        platform::SaveLanguageSetting(stored);
        frmMain& w = Open();
        ASSERT_NE(frmAbout::Existing(), nullptr);
        EXPECT_EQ(GetWindowLongW(frmAbout::Existing()->Handle(), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_DLGMODALFRAME),
                  std::wstring(stored) == L"Arabic.ini" ? WS_EX_LAYOUTRTL : 0) << stored;
        EXPECT_FALSE(GetWindowLongW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << "the main window never";
        window.reset();
        EXPECT_EQ(frmAbout::Existing(), nullptr) << "the About box goes with the main window";
    }
}

TEST_F(LanguageSelectorTest, ABitmapOrPackThatIsNoneIsToldAndTheProgramGoesOn)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n");
    testsupport::WriteBytes(LangFolder() + L"\\Zulu.bmp", "GIF89a not a bitmap at all");
    {
        MessageBoxAnswer box(IDOK);
        frmMain& w = Open();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_NE(box.Text().find(L"Zulu.bmp"), std::wstring::npos) << box.Text();
        EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
        // The fill ended there: no pack listed, so the built-in captions stay; the list is filled.
        EXPECT_EQ(SendMessageW(Combo(), CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"StartUp Programs");
        EXPECT_EQ(w.State().List.Count(), 1);
        window.reset();
    }
    DeleteFileW((LangFolder() + L"\\Zulu.bmp").c_str());
    testsupport::WriteBytes(LangFolder() + L"\\French.ini", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18));
    platform::SaveLanguageSetting(L"French.ini");
    for (int time : {1, 2}) { // at the start, then when picked: English stays
        MessageBoxAnswer told(IDOK);
        if (time == 1) {
            Open();
        } else {
            SendMessageW(Combo(), CB_SETCURSEL, 1, 0);
            window->ComboLang_Click();
        }
        EXPECT_EQ(told.Shown(), 1);
        EXPECT_NE(told.Text().find(L"French.ini"), std::wstring::npos);
        EXPECT_EQ(LanguageFile, L"English.ini");
        EXPECT_EQ(Selected(), L"English");
        EXPECT_EQ(WindowText(window->Control(IDC_LABEL1)), L"Programs");
    }
}

TEST_F(LanguageSelectorTest, AStoredDisabledRowSurvivesARoundTripThroughAnotherLanguage)
{
    InstallShippedPacks();
    ASSERT_EQ(WriteEntryFile({{L"Tool", L"Disabled", L"Registry(User Run)", L"Current User", L"Current User logs On",
                               L"C:\\tool.exe"}}, StorePath(), 1), static_cast<DWORD>(ERROR_SUCCESS));
    frmMain& w = Open();
    ASSERT_EQ(w.State().List.Count(), 1);
    Pick(L"French", IDYES);
    EXPECT_EQ(w.State().List.Text(1, Status), L"Désactivé");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registre(Utilisateur Run)");
    Pick(L"English", IDYES);
    ASSERT_EQ(w.State().List.Count(), 1);
    EXPECT_EQ(w.State().List.Text(1, Status), L"Disabled");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registry(User Run)");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Enable");
    w.cmdDisable_Click();
    w.mnuApp_Just_Click();
    // Written back to its source and gone from the store.
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, RunKey, L"Tool"), L"C:\\tool.exe");
    EXPECT_FALSE(platform::FileExists(StorePath()));
}
