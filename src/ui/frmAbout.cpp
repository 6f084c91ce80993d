// The About box window. It deletes itself when its window is destroyed, which also happens
// when its owner, the main window, goes.
#include "ui/frmAbout.h"
#include "ui/WindowProc.h"
#include "ui/resource.h"
#include "ui/Messages.h"
#include "ui/WindowLayout.h"
#include "ui/Captions.h"
#include "i18n/Globals.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/KeyValue.h"
#include "platform/Launch.h"
#include "platform/Names.h"

#include <commctrl.h>

#include <iterator>
#include <memory>

namespace
{

// The box that exists, if any; it lives until its window is gone.
std::unique_ptr<frmAbout>& Current()
{
    static std::unique_ptr<frmAbout> current;
    return current;
}

constexpr int ClientWidth = 430, ClientHeight = 226;
constexpr ControlPlacement Placements[] = {
    {IDC_ABOUT_PICICON, 14, 14, 32, 32},     {IDC_ABOUT_LBLTITLE, 60, 12, 356, 26},
    {IDC_ABOUT_LBLVERSION, 60, 42, 356, 16}, {IDC_ABOUT_LBLDESCRIPTION, 60, 64, 356, 54},
    {IDC_ABOUT_RULE, 10, 126, 410, 2},       {IDC_ABOUT_LBLDISCLAIMER, 14, 138, 284, 76},
    {IDC_ABOUT_CMDOK, 312, 138, 104, 26},    {IDC_ABOUT_CMDSYSINFO, 312, 172, 104, 26},
};
constexpr DWORD Label = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
constexpr ControlDesign Controls[] = {
    {IDC_ABOUT_PICICON, WC_STATICW, L"", WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL},
    {IDC_ABOUT_LBLTITLE, WC_STATICW, keys::AboutName.text, Label},
    {IDC_ABOUT_LBLVERSION, WC_STATICW, keys::AboutVersion.text, Label},
    {IDC_ABOUT_LBLDESCRIPTION, WC_STATICW, keys::AboutDescription.text, Label},
    {IDC_ABOUT_RULE, WC_STATICW, L"", WS_VISIBLE | SS_ETCHEDHORZ},
    {IDC_ABOUT_LBLDISCLAIMER, WC_STATICW, keys::AboutDisclaimer.text, Label},
    {IDC_ABOUT_CMDOK, WC_BUTTONW, keys::AboutOk.text, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDC_ABOUT_CMDSYSINFO, WC_BUTTONW, keys::AboutSysInfo.text, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
};

} // namespace

frmAbout& frmAbout::Load(HWND owner)
{
    std::unique_ptr<frmAbout>& current = Current();
    if (current)
        return *current;
    auto about = std::make_unique<frmAbout>(Made{});
    if (!about->Create(owner))
    {
        // Without a window the box still answers, as an empty one.
        static frmAbout none{Made{}};
        return none;
    }
    current = std::move(about);
    current->Form_Load();
    return *current;
}

frmAbout* frmAbout::Existing()
{
    return Current().get();
}

bool frmAbout::Create(HWND owner)
{
    owner_ = owner;
    CreateDialogWindow(platform::names::AboutWindowClass, ClassWindowProc<frmAbout>, keys::AboutTitle.text,
                       ClientWidth, ClientHeight, owner, this);
    return hwnd_ != nullptr;
}

void frmAbout::WindowGone(frmAbout* self)
{
    // Only a box that finished its creation is held here; a failed one goes when Load returns.
    if (Current().get() == self)
        Current().reset();
}

LRESULT frmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        cmdOk_Click();
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void frmAbout::CreateControls()
{
    for (const ControlDesign& design : Controls)
        MakeControl(hwnd_, design, {Placements, {ClientWidth, ClientHeight}});
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RAVELIN));
    SendMessageW(Control(IDC_ABOUT_PICICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void frmAbout::Form_Load()
{
    // The skin comes first; without it the controls get the system's message font.
    SkinOrStandardFont(skin_, hwnd_, font_);
    // The program's name stands out: the label font, larger and bold.
    HWND title = Control(IDC_ABOUT_LBLTITLE);
    LOGFONTW lf{};
    if (GetObjectW(reinterpret_cast<HFONT>(SendMessageW(title, WM_GETFONT, 0, 0)), sizeof(lf), &lf))
    {
        lf.lfHeight = lf.lfHeight * 3 / 2;
        lf.lfWeight = FW_BOLD;
        titleFont_.reset(CreateFontIndirectW(&lf));
        SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
    }
    // Once a pack's captions are in use, every new box shows the pack's texts too.
    if (LanguagePacksFound)
        ApplyCaptions();
}

void frmAbout::ApplyCaptions()
{
    for (const Caption& caption : CaptionTable())
    {
        if (caption.target != CaptionTarget::AboutTitle && caption.target != CaptionTarget::AboutControl)
            continue;
        HWND target = caption.target == CaptionTarget::AboutTitle ? hwnd_ : Control(caption.id);
        SetWindowTextW(target, CaptionText(caption.key).c_str());
    }
}

void frmAbout::Show()
{
    if (!hwnd_)
        return;
    // Centred over the main window the first time it shows.
    if (!placed_ && owner_)
        CentreOverOwner(hwnd_, owner_);
    placed_ = true;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

void frmAbout::cmdOk_Click()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    std::wstring path;
    bool failed = false;
    if (platform::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", path,
                              &failed))
    {
        if (platform::StartProgram(path).error == ERROR_SUCCESS)
            return;
    }
    else if (!failed &&
             platform::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools Location",
                                   L"MSINFO", path, &failed))
    {
        const std::wstring tool = path + L"\\MSINFO32.EXE";
        if (platform::FileExists(tool) && platform::StartProgram(tool).error == ERROR_SUCCESS)
            return;
    }
    ShowText(hwnd_, MessageTexts[0], MB_OK);
}

void frmAbout::OnCommand(int id)
{
    switch (id)
    {
    case IDC_ABOUT_CMDSYSINFO:
        cmdSysInfo_Click();
        break;
    case IDC_ABOUT_CMDOK:
    case IDOK:
    case IDCANCEL:
        cmdOk_Click();
        break;
    }
}
