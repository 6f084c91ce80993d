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
#include "support/Fixtures.h"
#include "support/WindowFixture.h"
#include "support/DialogAnswer.h"

#include <commctrl.h>

#include <map>

using testsupport::MessageBoxAnswer;
using testsupport::RavelinTest;
using testsupport::WindowText;

namespace {

constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A 24 x 16 bitmap file of one colour.
std::string SolidBitmap(BYTE r, BYTE g, BYTE b)
{
    const int width = 24, height = 16;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = width * height * 3;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int i = 0; i < width * height; ++i) bytes += {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
    return bytes;
}

// The colour at the middle of image index of an image list, as drawn.
COLORREF ImageColour(HIMAGELIST list, int index)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    COLORREF colour = GetPixel(dc, cx / 2, cy / 2);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return colour;
}

struct ComboEntry {
    std::wstring text;
    int image;
};

std::vector<ComboEntry> Entries(HWND combo)
{
    std::vector<ComboEntry> entries;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        entries.push_back({text, item.iImage});
    }
    return entries;
}

std::wstring SelectedText(HWND combo)
{
    const int selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (selected < 0) return L"<none>";
    return Entries(combo)[static_cast<size_t>(selected)].text;
}

HIMAGELIST AttachedImages(HWND combo)
{
    return reinterpret_cast<HIMAGELIST>(SendMessageW(combo, CBEM_GETIMAGELIST, 0, 0));
}

// Reads a caption target back through the windows that show it.
std::wstring TargetText(frmMain& w, const Caption& caption)
{
    HMENU bar = GetMenu(w.Handle());
    wchar_t text[1024] = {};
    switch (caption.target) {
    case CaptionTarget::MainTitle:
        return WindowText(w.Handle());
    case CaptionTarget::MainControl:
        return WindowText(w.Control(caption.id));
    case CaptionTarget::Menu:
        GetMenuStringW(bar, static_cast<UINT>(caption.id), text, 1024, MF_BYPOSITION);
        return text;
    case CaptionTarget::MenuItem:
        GetMenuStringW(bar, static_cast<UINT>(caption.id), text, 1024, MF_BYCOMMAND);
        return text;
    case CaptionTarget::AboutTitle:
        return frmAbout::Existing() ? WindowText(frmAbout::Existing()->Handle()) : L"<no About box>";
    case CaptionTarget::AboutControl:
        return frmAbout::Existing() ? WindowText(frmAbout::Existing()->Control(caption.id)) : L"<no About box>";
    case CaptionTarget::Message:
        return MessageTexts[static_cast<size_t>(caption.id)];
    case CaptionTarget::ColumnHeader: {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 1024;
        Header_GetItem(ListView_GetHeader(w.Control(IDC_LISTVIEW1)), caption.id, &item);
        return text;
    }
    case CaptionTarget::EnableCaption:
        return w.State().EnableCaption;
    case CaptionTarget::DisableCaption:
        return w.State().DisableCaption;
    }
    return L"<unknown target>";
}

// Where each key's text must show, in the order the captions are set: written out here
// independently of the program's own table.
using enum CaptionTarget;
constexpr Caption ExpectedTargets[] = {
    {L"108", MainControl, IDC_LBLNOTE},   {L"109", MainTitle, 0},
    {L"110", Menu, 0},                    {L"111", MenuItem, IDM_AUTO},
    {L"112", MenuItem, IDM_CONFIG},       {L"113", MenuItem, IDM_REGISTRY},
    {L"120", Menu, 1},                    {L"121", MenuItem, IDM_SAVEPROF},
    {L"122", MenuItem, IDM_LOADPROF},     {L"130", Menu, 2},
    {L"131", MenuItem, IDM_APP_REST},     {L"132", MenuItem, IDM_APP_LOG},
    {L"133", MenuItem, IDM_APP_EXIT},     {L"134", MenuItem, IDM_APP_JUST},
    {L"140", Menu, 3},                    {L"141", MenuItem, IDM_HELPINDEX},
    {L"142", MenuItem, IDM_ABOUT},        {L"143", MenuItem, IDM_UPDATE},
    {L"144", MenuItem, IDM_VISIT},        {L"101", MainControl, IDC_LABEL1},
    {L"103", MainControl, IDC_CMDREMOVE}, {L"104", MainControl, IDC_CMDRESET},
    {L"105", MainControl, IDC_CMDADDTASK}, {L"106", MainControl, IDC_LABEL3},
    {L"301", AboutTitle, 0},              {L"302", AboutControl, IDC_ABOUT_LBLTITLE},
    {L"303", AboutControl, IDC_ABOUT_LBLVERSION}, {L"304", AboutControl, IDC_ABOUT_LBLDESCRIPTION},
    {L"305", AboutControl, IDC_ABOUT_LBLDISCLAIMER}, {L"306", AboutControl, IDC_ABOUT_CMDOK},
    {L"307", AboutControl, IDC_ABOUT_CMDSYSINFO}, {L"410", Message, 0},
    {L"411", Message, 1},                 {L"412", Message, 2},
    {L"151", ColumnHeader, 0},            {L"152", ColumnHeader, 1},
    {L"153", ColumnHeader, 2},            {L"154", ColumnHeader, 3},
    {L"155", ColumnHeader, 4},            {L"156", ColumnHeader, 5},
    {L"107", EnableCaption, 0},           {L"102", DisableCaption, 0},
};

class LanguageSelectorTest : public testsupport::MainWindowFixture {
  protected:
    HWND Combo() { return window->Control(IDC_COMBOLANG); }
    void WriteFlag(const std::wstring& name, BYTE r, BYTE g, BYTE b)
    {
        CreateDirectoryW(LangFolder().c_str(), nullptr);
        testsupport::WriteBytes(LangFolder() + L"\\" + name, SolidBitmap(r, g, b));
    }
    // Every key of the caption table as "T" and the key, but the keys left out.
    void WriteCaptionPack(const std::wstring& name, std::initializer_list<std::wstring> leftOut = {})
    {
        std::wstring lines;
        for (const Caption& caption : CaptionTable())
            if (std::find(leftOut.begin(), leftOut.end(), caption.key) == leftOut.end())
                lines += std::wstring(caption.key) + L"=T" + caption.key + L"\r\n";
        WritePack(name, lines);
    }
    // Picks entry index and answers the question.
    void Pick(int index, int answer)
    {
        SendMessageW(Combo(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        MessageBoxAnswer box(answer);
        window->ComboLang_Click();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(box.Text(), L"This will reset the startup list,continue?!");
        EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
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
        EXPECT_EQ(AttachedImages(Combo()), nullptr);
        EXPECT_FALSE(LanguagePacksFound);
        EXPECT_EQ(MessageTexts, (std::array<std::wstring, 3>{}));
        EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"StartUp Programs");
        EXPECT_EQ(WindowText(w.Control(IDC_LABEL3)), L"Select  Language");
        EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Disable");
        EXPECT_EQ(frmAbout::Existing(), nullptr) << "no captions, no hidden About box";
        window.reset();
    }
}

TEST_F(LanguageSelectorTest, PacksWithoutBitmapsAreListedWithoutFlags)
{
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n");
    Open();
    auto entries = Entries(Combo());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, L"English");
    EXPECT_EQ(entries[1].text, L"French");
    EXPECT_EQ(entries[1].image, 1);
    EXPECT_EQ(AttachedImages(Combo()), nullptr);
    EXPECT_TRUE(LanguagePacksFound);
    EXPECT_EQ(SelectedText(Combo()), L"English");
}

TEST_F(LanguageSelectorTest, FlagsPairWithPacksByPosition)
{
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n");
    WriteFlag(L"English.bmp", 255, 0, 0);
    WriteFlag(L"French.bmp", 0, 0, 255);
    Open();
    auto entries = Entries(Combo());
    ASSERT_EQ(entries.size(), 2u);
    HIMAGELIST images = AttachedImages(Combo());
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(ImageList_GetImageCount(images), 2);
    EXPECT_EQ(ImageColour(images, entries[0].image), RGB(255, 0, 0)) << "English shows its own flag";
    EXPECT_EQ(ImageColour(images, entries[1].image), RGB(0, 0, 255)) << "French shows its own flag";
    EXPECT_EQ(SelectedText(Combo()), L"English"); // nothing stored: English
    window.reset();

    // A bitmap without a pack, listed first, shifts every later flag by one.
    WriteFlag(L"Aardvark.bmp", 0, 255, 0);
    Open();
    entries = Entries(Combo());
    images = AttachedImages(Combo());
    ASSERT_EQ(ImageList_GetImageCount(images), 3);
    EXPECT_EQ(ImageColour(images, entries[0].image), RGB(0, 255, 0));
    EXPECT_EQ(ImageColour(images, entries[1].image), RGB(255, 0, 0));
}

TEST_F(LanguageSelectorTest, AnExtensionInCapitalsIsListedAndStoredAsWritten)
{
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"GERMAN.INI", L"101=Programme\r\n");
    Open();
    auto entries = Entries(Combo());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].text, L"GERMAN");
    Pick(1, IDYES);
    EXPECT_EQ(LanguageFile, L"GERMAN.ini");
    EXPECT_EQ(WindowText(window->Control(IDC_LABEL1)), L"Programme");
    window.reset();
    EXPECT_EQ(platform::LoadLanguageSetting(), L"GERMAN.ini");
    Open(); // the stored choice selects the entry again, whatever the case
    EXPECT_EQ(SelectedText(Combo()), L"GERMAN");
}

TEST_F(LanguageSelectorTest, AStoredChoiceThatIsGoneEmptiesEveryTarget)
{
    WriteCaptionPack(L"English.ini");
    WriteCaptionPack(L"French.ini");
    platform::SaveLanguageSetting(L"Klingon.ini");
    frmMain& w = Open();
    EXPECT_EQ(SelectedText(Combo()), L"<none>");
    EXPECT_TRUE(LanguagePacksFound);
    for (const Caption& caption : CaptionTable())
        EXPECT_EQ(TargetText(w, caption), L"") << "key " << std::wstring(caption.key);
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L""); // EnableCaption, empty too
}

TEST_F(LanguageSelectorTest, EveryTargetTakesItsKeyAndAMissingKeyEmptiesJustItsTarget)
{
    const std::initializer_list<std::wstring> leftOut = {L"101", L"130", L"141", L"303", L"411", L"153", L"107"};
    WriteCaptionPack(L"English.ini", leftOut);
    frmMain& w = Open();
    // The program sets the same targets in the same order.
    ASSERT_EQ(CaptionTable().size(), std::size(ExpectedTargets));
    for (size_t i = 0; i < std::size(ExpectedTargets); ++i)
        EXPECT_EQ(std::wstring(CaptionTable()[i].key), ExpectedTargets[i].key) << "position " << i;
    for (const Caption& caption : ExpectedTargets) {
        const bool missing = std::find(leftOut.begin(), leftOut.end(), caption.key) != leftOut.end();
        EXPECT_EQ(TargetText(w, caption), missing ? L"" : L"T" + std::wstring(caption.key))
            << "key " << std::wstring(caption.key);
    }
    // The About box that took its captions is the one the Help menu shows, still hidden.
    ASSERT_NE(frmAbout::Existing(), nullptr);
    EXPECT_FALSE(IsWindowVisible(frmAbout::Existing()->Handle()));
    w.mnuAbout_Click();
    EXPECT_EQ(WindowText(frmAbout::Existing()->Control(IDC_ABOUT_LBLTITLE)), L"T302");
    EXPECT_TRUE(IsWindowVisible(frmAbout::Existing()->Handle()));
}

TEST_F(LanguageSelectorTest, WhatIsMadeAfterTheFirstPaintShowsThePackAndTheFilledList)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"German.ini", L"102=&Aus\r\n103=&Weg\r\n106=Sprache\r\n107=&Ein\r\n302=Ravelin DE\r\n");
    WriteFlag(L"German.bmp", 0, 0, 0);
    platform::SaveLanguageSetting(L"German.ini");
    window = std::make_unique<frmMain>();
    ASSERT_TRUE(window->Create(GetModuleHandleW(nullptr)));
    // What the first paint shows is complete before the rest of the start runs.
    ASSERT_EQ(window->State().List.Count(), 1);
    testsupport::PumpMessages();
    // The enabled first row, not the captions step, gives the Disable button its caption.
    EXPECT_EQ(WindowText(window->Control(IDC_CMDDISABLE)), L"&Aus");
    EXPECT_EQ(WindowText(window->Control(IDC_CMDREMOVE)), L"&Weg");
    EXPECT_EQ(WindowText(window->Control(IDC_LABEL3)), L"Sprache");
    EXPECT_EQ(SelectedText(Combo()), L"German");
    EXPECT_NE(AttachedImages(Combo()), nullptr);
    ASSERT_NE(frmAbout::Existing(), nullptr);
    EXPECT_FALSE(IsWindowVisible(frmAbout::Existing()->Handle()));
    EXPECT_EQ(WindowText(frmAbout::Existing()->Control(IDC_ABOUT_LBLTITLE)), L"Ravelin DE");
}

TEST_F(LanguageSelectorTest, YesOnTheSamePackRebuildsTheListWithoutReapplyingCaptions)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n102=&Disable\r\n107=&Enable\r\n413=Enabled\r\n423=Disabled\r\n");
    frmMain& w = Open();
    w.cmdDisable_Click(); // staged, not applied
    ASSERT_EQ(w.State().List.Text(1, Status), L"Disabled");
    // The pack changes on disk; captions would show it only if they were applied again.
    WritePack(L"English.ini", L"101=Changed\r\n102=&Off\r\n107=&On\r\n413=Enabled\r\n423=Disabled\r\n");
    Pick(0, IDYES);
    EXPECT_EQ(LanguageFile, L"English.ini");
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"Programs");
    ASSERT_EQ(w.State().List.Count(), 1);
    EXPECT_EQ(w.State().List.Text(1, Status), L"Enabled") << "the staged change is gone";
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Disable") << "button from the rebuilt row";
}

TEST_F(LanguageSelectorTest, NoChangesNothingAndShowsTheCurrentPackAgain)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n413=Activé\r\n");
    platform::SaveLanguageSetting(L"english.ini"); // stored in another case than the file's
    frmMain& w = Open();
    w.cmdDisable_Click();
    Pick(1, IDNO);
    EXPECT_EQ(LanguageFile, L"english.ini");
    EXPECT_EQ(SelectedText(Combo()), L"English");
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"Programs");
    EXPECT_EQ(w.State().List.Text(1, Status), L"Disabled") << "the staged change stays";
}

TEST_F(LanguageSelectorTest, ADifferentPackAppliesItsCaptionsAndWords)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n102=&Désactiver\r\n413=Activé\r\n426=Registre(Utilisateur Run)\r\n");
    frmMain& w = Open();
    Pick(1, IDYES);
    EXPECT_EQ(LanguageFile, L"French.ini");
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"Programmes");
    EXPECT_EQ(w.State().List.Text(1, Status), L"Activé");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registre(Utilisateur Run)");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Désactiver");
}

TEST_F(LanguageSelectorTest, AnEmptyRebuildLeavesTheButtonsAsTheCaptionsLeftThem)
{
    WritePack(L"English.ini", L"102=&Disable\r\n107=&Enable\r\n");
    WritePack(L"French.ini", L"102=&Désactiver\r\n107=&Activer\r\n");
    frmMain& w = Open();
    Pick(1, IDYES);
    EXPECT_EQ(w.State().List.Count(), 0);
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Activer");
}

TEST_F(LanguageSelectorTest, TheSelectorAsksOncePerGesture)
{
    WritePack(L"English.ini", L"101=Programs\r\n");
    WritePack(L"French.ini", L"101=Programmes\r\n");
    frmMain& w = Open();
    {
        // An arrow key on the closed selector: a selection change and nothing else.
        MessageBoxAnswer box(IDNO);
        HWND inner = reinterpret_cast<HWND>(SendMessageW(Combo(), CBEM_GETCOMBOCONTROL, 0, 0));
        SendMessageW(inner, WM_KEYDOWN, VK_DOWN, 0);
        testsupport::PumpMessages();
        EXPECT_EQ(box.Shown(), 1);
        EXPECT_EQ(SelectedText(Combo()), L"English") << "No puts the current pack back";
    }
    {
        // A pick from the open list: both notifications of one gesture give one question.
        MessageBoxAnswer box(IDYES);
        SendMessageW(Combo(), CB_SETCURSEL, 1, 0);
        SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(IDC_COMBOLANG, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo()));
        SendMessageW(w.Handle(), WM_COMMAND, MAKEWPARAM(IDC_COMBOLANG, CBN_SELENDOK), reinterpret_cast<LPARAM>(Combo()));
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
        const bool mirrored = GetWindowLongW(frmAbout::Existing()->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL;
        EXPECT_EQ(mirrored, std::wstring(stored) == L"Arabic.ini") << std::wstring(stored);
        EXPECT_FALSE(GetWindowLongW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << "the main window never";
        window.reset();
        EXPECT_EQ(frmAbout::Existing(), nullptr) << "the About box goes with the main window";
    }
}

TEST_F(LanguageSelectorTest, ABitmapThatIsNoPictureIsReportedAndTheProgramGoesOn)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, RunKey, L"Tool", L"C:\\tool.exe");
    WritePack(L"English.ini", L"101=Programs\r\n");
    WriteFlag(L"English.bmp", 255, 0, 0);
    testsupport::WriteBytes(LangFolder() + L"\\Zulu.bmp", "GIF89a not a bitmap at all");
    MessageBoxAnswer box(IDOK);
    frmMain& w = Open();
    EXPECT_EQ(box.Shown(), 1);
    EXPECT_NE(box.Text().find(L"Zulu.bmp"), std::wstring::npos) << std::wstring(box.Text());
    EXPECT_EQ(box.Caption(), L"Brightfold Ravelin");
    EXPECT_TRUE(box.HadButton(IDOK));
    EXPECT_FALSE(box.HadButton(IDCANCEL));
    // The fill ended there: no pack listed, so the built-in captions stay; the list is filled.
    EXPECT_EQ(SendMessageW(Combo(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_FALSE(LanguagePacksFound);
    EXPECT_EQ(WindowText(w.Control(IDC_LABEL1)), L"StartUp Programs");
    EXPECT_EQ(w.State().List.Count(), 1);
}

TEST_F(LanguageSelectorTest, AStoredDisabledRowSurvivesARoundTripThroughAnotherLanguage)
{
    InstallShippedPacks();
    std::vector<EntryRecord> stored = {
        {L"Tool", L"Disabled", L"Registry(User Run)", L"Current User", L"Current User logs On", L"C:\\tool.exe"}};
    ASSERT_EQ(WriteEntryFile(stored, StorePath(), 1), static_cast<DWORD>(ERROR_SUCCESS));
    frmMain& w = Open();
    ASSERT_EQ(w.State().List.Count(), 1);
    const std::vector<ComboEntry> entries = Entries(Combo());
    auto index = [&](const wchar_t* name) {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].text == name) return static_cast<int>(i);
        return -1;
    };
    Pick(index(L"French"), IDYES);
    EXPECT_EQ(w.State().List.Text(1, Status), L"Désactivé");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registre(Utilisateur Run)");
    Pick(index(L"English"), IDYES);
    ASSERT_EQ(w.State().List.Count(), 1);
    EXPECT_EQ(w.State().List.Text(1, Status), L"Disabled");
    EXPECT_EQ(w.State().List.Text(1, LoadFrom), L"Registry(User Run)");
    EXPECT_EQ(WindowText(w.Control(IDC_CMDDISABLE)), L"&Enable");

    w.cmdDisable_Click();
    EXPECT_EQ(w.State().List.Text(1, Status), L"Enabled");
    w.mnuApp_Just_Click();
    // Written back to its source and gone from the store.
    EXPECT_EQ(testsupport::RegStringValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                          L"Tool"),
              L"C:\\tool.exe");
    EXPECT_FALSE(platform::FileExists(StorePath()));
}

TEST_F(LanguageSelectorTest, APackThatIsNoPackIsToldOnceAndEnglishIsShown)
{
    WriteCaptionPack(L"English.ini");
    testsupport::WriteBytes(LangFolder() + L"\\French.ini", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18));
    platform::SaveLanguageSetting(L"French.ini");
    frmMain* w = nullptr;
    {
        MessageBoxAnswer told(IDOK);
        w = &Open();
        EXPECT_EQ(told.Shown(), 1);
        EXPECT_NE(told.Text().find(L"French.ini"), std::wstring::npos);
    }
    EXPECT_EQ(LanguageFile, L"English.ini");
    EXPECT_EQ(SelectedText(Combo()), L"English");
    EXPECT_EQ(WindowText(w->Control(IDC_LABEL1)), L"T101");

    // Picked later, it is told again and nothing changes.
    SendMessageW(Combo(), CB_SETCURSEL, 1, 0);
    MessageBoxAnswer again(IDOK);
    w->ComboLang_Click();
    EXPECT_EQ(again.Shown(), 1);
    EXPECT_EQ(LanguageFile, L"English.ini");
    EXPECT_EQ(SelectedText(Combo()), L"English");
}
