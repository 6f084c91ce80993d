// Command and control identifiers of the program's windows.
#pragma once

// Main window controls.
#define IDC_LABEL1 1001
#define IDC_LBLNOTE 1002
#define IDC_LISTVIEW1 1003
#define IDC_CMDDISABLE 1004
#define IDC_CMDREMOVE 1005
#define IDC_CMDRESET 1006
#define IDC_CMDADDTASK 1007
#define IDC_LABEL3 1008
#define IDC_COMBOLANG 1009
#define IDC_STATUSBAR 1010

// Menu commands, in menu order.
#define IDM_AUTO 2001
#define IDM_CONFIG 2002
#define IDM_REGISTRY 2003
#define IDM_SAVEPROF 2011
#define IDM_LOADPROF 2012
#define IDM_APP_REST 2021
#define IDM_APP_LOG 2022
#define IDM_APP_EXIT 2023
#define IDM_APP_JUST 2024
#define IDM_HELPINDEX 2031
#define IDM_UPDATE 2032
#define IDM_VISIT 2033
#define IDM_ABOUT 2034

#define IDT_NOTE 1

#define IDI_RAVELIN 1

// About box controls.
#define IDC_ABOUT_PICICON 1101
#define IDC_ABOUT_LBLTITLE 1102
#define IDC_ABOUT_LBLVERSION 1103
#define IDC_ABOUT_LBLDESCRIPTION 1104
#define IDC_ABOUT_LBLDISCLAIMER 1105
#define IDC_ABOUT_RULE 1106
#define IDC_ABOUT_CMDOK 1107
#define IDC_ABOUT_CMDSYSINFO 1108
