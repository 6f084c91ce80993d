// The main window's languages: the selector's pick, the captions, and the lists rebuilt in the
// new language.
#include "ui/frmMain.h"
#include "i18n/Globals.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "ui/Captions.h"
#include "ui/LanguageList.h"
#include "ui/Messages.h"
#include "ui/frmAbout.h"
#include "ui/resource.h"

#include <commctrl.h>

void frmMain::ApplyCaptions()
{
    ApplyMainWindowCaptions(hwnd_, captions_);
    // A box made later takes the captions as it is made; one open now takes them at once.
    if (frmAbout* about = frmAbout::Existing())
        about->ApplyCaptions();
    ShowFindTexts();
}

void frmMain::OnComboLangCommand(int code)
{
    // A pick from the open list ends with SELENDOK, also when the same entry is picked again;
    // arrow keys on the closed selector only change the selection. One gesture asks once.
    HWND combo = Control(IDC_COMBOLANG);
    const bool picked =
        code == CBN_SELENDOK || (code == CBN_SELCHANGE && !SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    if (!picked || comboClickPending_)
        return;
    comboClickPending_ = true;
    PostMessageW(hwnd_, WM_COMBOLANG_CLICK, 0, 0);
}

void frmMain::ComboLang_Click()
{
    HWND combo = Control(IDC_COMBOLANG);
    const std::wstring picked = SelectedLanguage(combo) + L".ini";
    const std::wstring problem = PackProblem(picked);
    if (!problem.empty())
        ShowMessage(hwnd_, keys::PackNotUsable, {picked, problem}, MB_OK | MB_ICONWARNING);
    if (!problem.empty() ||
        ShowMessage(hwnd_, keys::LanguageChangeQuestion, {}, MB_YESNO | MB_ICONQUESTION) != IDYES)
    {
        SelectLanguage(combo, PackDisplayName(LanguageFile));
        // Back and front again, so that the window repaints after the question.
        SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    if (picked != LanguageFile)
    {
        LanguageFile = picked;
        ApplyCaptions();
    }
    RestLang();
    for (int id : {IDC_CMDDISABLE, IDC_CMDREMOVE, IDC_CMDRESET, IDC_CMDADDTASK})
        InvalidateRect(Control(id), nullptr, TRUE);
}

bool frmMain::UsablePackChosen()
{
    // A pack that cannot give its texts would leave every caption empty: English instead.
    const std::wstring problem = PackProblem(LanguageFile);
    if (problem.empty())
        return true;
    ShowMessage(hwnd_, keys::PackNotUsable, {LanguageFile, problem}, MB_OK | MB_ICONWARNING);
    LanguageFile = platform::names::DefaultPack;
    SelectLanguage(Control(IDC_COMBOLANG), PackDisplayName(LanguageFile));
    return PackProblem(LanguageFile).empty();
}

void frmMain::RestLang()
{
    // Every kind listed so far is listed again, its staged changes gone.
    for (const std::unique_ptr<EntryView>& view : views_)
        if (view->Entries().Filled())
            view->Fill();
    ViewChanged();
    for (const std::unique_ptr<EntryView>& view : views_)
        view->ReportProblems();
}
