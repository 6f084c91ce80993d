// The installer's one custom action: when an uninstall that has a user interface ends, it says
// what stays behind. Windows Installer shows a user message only where there is an interface, so
// /qn stays silent.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

extern "C" __declspec(dllexport) UINT __stdcall ShowUninstallNote(MSIHANDLE install)
{
    // The text is the package's UNINSTALLNOTE property; field 0 of a record is formatted.
    PMSIHANDLE note = MsiCreateRecord(0);
    MsiRecordSetStringW(note, 0, L"[UNINSTALLNOTE]");
    MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_USER | MB_OK | MB_ICONINFORMATION), note);
    return ERROR_SUCCESS;
}
