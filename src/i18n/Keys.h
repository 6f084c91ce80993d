// Every pack key the program looks up, each defined here once, with its English text.
#pragma once

namespace keys
{

struct KeyText
{
    const wchar_t* key;
    const wchar_t* text;
};

// Captions: looked up with an empty default (CaptionText), so that a pack in use empties a target
// whose key it lacks. The text is the built-in one, which a target keeps while no pack is in use.
// "1" where the pack's language reads right to left: its dialogs are laid out so.
inline constexpr KeyText RightToLeft{L"100", L""};
inline constexpr KeyText ProgramsLabel{L"101", L"StartUp Programs"};
inline constexpr KeyText DisableButton{L"102", L"&Disable"};
inline constexpr KeyText RemoveButton{L"103", L"&Remove"};
inline constexpr KeyText ResetButton{L"104", L"R&eset All"};
inline constexpr KeyText AddTaskButton{L"105", L"Add &Task"};
inline constexpr KeyText LanguageLabel{L"106", L"Select  Language"};
inline constexpr KeyText EnableButton{L"107", L"&Enable"};
inline constexpr KeyText NoteLabel{
    L"108", L"Note: no action comes into effect unless you choose an item from the apply menu"};
inline constexpr KeyText MainTitle{L"109", L"Brightfold Ravelin"};
inline constexpr KeyText EditMenu{L"110", L"&Edit"};
inline constexpr KeyText AutoexecItem{L"111", L"Autoexec.bat"};
inline constexpr KeyText ConfigItem{L"112", L"Config.sys"};
inline constexpr KeyText RegistryItem{L"113", L"Registry"};
inline constexpr KeyText ProfileMenu{L"120", L"&Profile"};
inline constexpr KeyText SaveProfileItem{L"121", L"&Save to profile"};
inline constexpr KeyText LoadProfileItem{L"122", L"&Load from profile"};
inline constexpr KeyText ApplyMenu{L"130", L"&Apply"};
inline constexpr KeyText ApplyRestartItem{L"131", L"Apply and &Restart Windows"};
inline constexpr KeyText ApplyLogOffItem{L"132", L"Apply and &LogOff"};
inline constexpr KeyText ApplyExitItem{L"133", L"Apply and& Exit Program"};
inline constexpr KeyText JustApplyItem{L"134", L"&Just Apply"};
inline constexpr KeyText HelpMenu{L"140", L"&Help"};
inline constexpr KeyText HelpIndexItem{L"141", L"Help &Index"};
inline constexpr KeyText AboutItem{L"142", L"&About"};
inline constexpr KeyText UpdateItem{L"143", L"&Update Ravelin"};
inline constexpr KeyText VisitItem{L"144", L"&Visit brightfold.example"};
inline constexpr KeyText AddTaskTitle{L"201", L"Add Task"};
inline constexpr KeyText AddInLabel{L"202", L"Add in        :"};
inline constexpr KeyText AddButton{L"203", L"&Add"};
inline constexpr KeyText CancelButton{L"204", L"&Cancel"};
inline constexpr KeyText BrowseButton{L"205", L"&Browse"};
inline constexpr KeyText AboutTitle{L"301", L"About Brightfold Ravelin"};
inline constexpr KeyText AboutName{L"302", L"Ravelin"};
inline constexpr KeyText AboutVersion{L"303", L"Version 1.0.0.1"};
inline constexpr KeyText AboutDescription{
    L"304",
    L"Use Ravelin to Mange your Startup programs you can Enable, Disable,Remove, and Add startup programs in "
    L"you system in the most easy and safe way."};
inline constexpr KeyText AboutDisclaimer{
    L"305",
    L"Warning: this program is protected by copyright law. Copying or distributing it, or any part of it, "
    L"without the permission of Brightfold may be prosecuted."};
inline constexpr KeyText AboutOk{L"306", L"&Ok"};
inline constexpr KeyText AboutSysInfo{L"307", L"&System Info..."};
// The three MessageTexts, and the caption of the registry warning: only packs give them.
inline constexpr KeyText SysInfoMissing{L"410", L""};
inline constexpr KeyText TaskFieldsMissing{L"411", L""};
inline constexpr KeyText RegistryWarning{L"412", L""};
inline constexpr KeyText RegistryWarningTitle{L"425", L""};
// Add Task: the source whose rows are the current user's, and the When? of every new row.
inline constexpr KeyText UserRunSource{L"414", L""};
inline constexpr KeyText AddedWhen{L"417", L""};

// The columns of the list, then Publisher and Signer; captions of the headers, texts of the list
// command.
inline constexpr KeyText TaskNameHeader{L"151", L"Task Name"};
inline constexpr KeyText StatusHeader{L"152", L"Status"};
inline constexpr KeyText LoadFromHeader{L"153", L"Load From"};
inline constexpr KeyText UserHeader{L"154", L"User"};
inline constexpr KeyText WhenHeader{L"155", L"When?"};
inline constexpr KeyText LocationHeader{L"156", L"Location"};
inline constexpr KeyText PublisherHeader{L"700", L"Publisher"};
inline constexpr KeyText SignerHeader{L"706", L"Signer"};
inline constexpr KeyText ImpactHeader{L"1350", L"Impact"};
inline constexpr KeyText ColumnHeaders[] = {TaskNameHeader,  StatusHeader, LoadFromHeader,
                                            UserHeader,      WhenHeader,   LocationHeader,
                                            PublisherHeader, SignerHeader, ImpactHeader};

// The words of the states, where a person reads them; files keep the English ones.
inline constexpr KeyText Enabled{L"413", L"Enabled"};
inline constexpr KeyText Disabled{L"423", L"Disabled"};
inline constexpr KeyText Remove{L"424", L"Remove"};
inline constexpr KeyText Delayed{L"440", L"Delayed"};
// The Status cell of an entry Windows has switched off where the start ignores the switch; %1 is
// the Enabled word.
inline constexpr KeyText SwitchOffIgnored{L"1200", L"%1; Windows' switch is off but not honoured here"};

// The User and When? words of scanned rows. The run keys and win.ini's Run line have defaults
// of their own for two of them.
inline constexpr KeyText CurrentUser{L"415", L"Current User"};
inline constexpr KeyText AllUsers{L"416", L"All Users"};
inline constexpr KeyText AllUsersOfWinIniRun{AllUsers.key, L"All users"};
inline constexpr KeyText CurrentUserLogsOn{L"418", L"Current User Logs On"};
inline constexpr KeyText CurrentUserLogsOnOfRunKeys{CurrentUserLogsOn.key, L"Current User logs On"};
inline constexpr KeyText AnyUserLogsOn{L"420", L"Any User Logs On"};
inline constexpr KeyText MachineRegistry{L"419", L"Registry"};

// The apply's status line.
inline constexpr KeyText Applied{L"501", L"Applied: %1 written, %2 taken out."};
inline constexpr KeyText NotApplied{L"502", L"Not applied: %1."};
inline constexpr KeyText StoreNotSaved{L"503", L"The disabled entries could not be saved: %1."};
inline constexpr KeyText FailureItem{L"504", L"%1 (%2)"};
inline constexpr KeyText MoreFailures{L"505", L"%1 more"};
inline constexpr KeyText NoSource{L"513", L"no known place for its Load From"};
inline constexpr KeyText PlaceSetting{L"521", L"a setting of its place, not a program"};
inline constexpr KeyText Occupied{L"522", L"another entry of that name is in its place"};
// Entries disabled where they are, as Windows' own startup settings do.
inline constexpr KeyText SwitchedOffInPlace{L"523", L"%1 switched off in Windows' startup settings."};
inline constexpr KeyText KeptForStore{L"514",
                                      L"left in its place, the disabled entries could not be saved first"};
inline constexpr KeyText StoreLeftAsItWas{
    L"515", L"The file of disabled entries was left as it was: it could not be read completely."};
// Said when an apply could not start: another program, of this user or another, was applying.
inline constexpr KeyText ApplyBusy{
    L"837", L"Nothing was applied: another program is applying changes now. Try again in a moment."};
inline constexpr KeyText ApplyLockFailed{
    L"838",
    L"Nothing was applied: the lock that keeps two programs from applying at once could not be taken: %1."};
// Why a file or value could not be used.
inline constexpr KeyText AccessDenied{L"510", L"access denied"};
inline constexpr KeyText InUse{L"511", L"in use by another program"};
inline constexpr KeyText NotFound{L"512", L"not found in its place"};
// Asked after an apply with failures, before the session or the program ends.
inline constexpr KeyText LogOffAfterFailures{L"516", L"Not everything was applied. Log off all the same?"};
inline constexpr KeyText RestartAfterFailures{L"517",
                                              L"Not everything was applied. Restart Windows all the same?"};
inline constexpr KeyText ExitAfterFailures{L"518",
                                           L"Not everything was applied. Exit the program all the same?"};
// Said on the status line when Windows refuses to end the session.
inline constexpr KeyText LogOffRefused{L"519", L"Windows did not log off: %1."};
inline constexpr KeyText RestartRefused{L"520", L"Windows did not restart: %1."};

// Profiles and the store.
inline constexpr KeyText ProfileExists{L"601", L"%1 already exists. Do you want to replace it?"};
inline constexpr KeyText ProfileNotSaved{L"602", L"The profile %1 could not be saved: %2."};
inline constexpr KeyText ProfileNotOpened{L"603", L"The profile %1 could not be opened: %2."};
inline constexpr KeyText ProfileIncomplete{
    L"604", L"The last entry of the profile %1 was incomplete and was not loaded."};
inline constexpr KeyText StoreNotRead{L"605",
                                      L"The disabled entries in %1 could not be read completely: %2."};
inline constexpr KeyText StoreEndsInsideEntry{L"606", L"it ends inside an entry"};
inline constexpr KeyText StoreUnreadableEntries{L"608", L"%1 of its entries cannot be read"};
inline constexpr KeyText StoreRealigned{L"609",
                                        L"An earlier version wrote entries of %1 over several lines. They "
                                        L"have been read back whole; the file as it was is kept as %2."};
inline constexpr KeyText StoreLeftAlone{L"607",
                                        L"The file is left as it is. Until it can be read, no entry can be "
                                        L"disabled and the file is not changed."};

// Languages.
inline constexpr KeyText PackNotUsable{L"620",
                                       L"The language pack %1 cannot be used: %2. English texts are shown."};
inline constexpr KeyText PackHoldsNoTexts{L"621", L"it holds no texts of this program"};
inline constexpr KeyText LanguageChangeQuestion{L"622", L"This will reset the startup list,continue?!"};
inline constexpr KeyText NotABitmap{L"623", L"Invalid picture: \"%1\" is not a bitmap."};
inline constexpr KeyText PackRefused{L"624", L"\"%1\": the language selector did not accept this pack."};

// Other programs.
inline constexpr KeyText CannotStart{L"630", L"Cannot start \"%1\":"};
// Asked before an entry whose program was uninstalled is enabled again.
inline constexpr KeyText ProgramGoneQuestion{
    L"631", L"The program that %1 starts is not there: %2. Enable it all the same?"};

// Finding and judging entries.
inline constexpr KeyText FilterCue{L"701", L"Filter"};
inline constexpr KeyText OpenLocation{L"702", L"Open &location"};
inline constexpr KeyText Properties{L"703", L"&Properties"};
inline constexpr KeyText RowsShown{L"704", L"%1 of %2 shown"};
inline constexpr KeyText FileExistsHeader{L"705", L"File exists"};
// Signatures: the words of the Signer column, the columns of the list command, the boxes that hide
// entries and the counts they leave, what Properties says of a signer who is not the publisher.
inline constexpr KeyText SignatureHeader{L"707", L"Signature"};
inline constexpr KeyText Sha256Header{L"708", L"SHA-256"};
inline constexpr KeyText NotVerified{L"709", L"Not verified: %1"};
inline constexpr KeyText BadDigestReason{L"710", L"changed after signing"};
inline constexpr KeyText UntrustedRootReason{L"711", L"untrusted root"};
inline constexpr KeyText ExpiredReason{L"712", L"certificate expired"};
inline constexpr KeyText RevokedReason{L"713", L"certificate revoked"};
inline constexpr KeyText TrustErrorReason{L"714", L"error %1"};
inline constexpr KeyText UnsignedWord{L"715", L"Unsigned"};
inline constexpr KeyText FileMissingWord{L"716", L"File missing"};
inline constexpr KeyText HideWindowsEntries{L"903", L"Hide Windows entries"};
inline constexpr KeyText HideVerifiedEntries{L"717", L"Hide verified entries"};
inline constexpr KeyText EntriesHidden{L"942", L"%1 of %2 shown, %3 hidden"};
inline constexpr KeyText TasksHidden{
    L"718", L"%1 of %2 shown; %3 that do not start at log on or boot not shown, %4 hidden"};
inline constexpr KeyText SignerDiffers{L"719",
                                       L"This file is signed by %1, while it names %2 as its publisher."};
inline constexpr KeyText LocationWithFile{L"720", L"%1  (file: %2)"};

// The command line ravelinc.exe: its usage, its refusals and its comparison of lists.
inline constexpr KeyText ConsoleTitle{
    L"800", L"Brightfold Ravelin for scripts: the startup list, and changes applied at once."};
inline constexpr KeyText UsageHeading{L"801", L"Usage:"};
inline constexpr KeyText UsageList{
    L"802", L"Writes the list as the window shows it: CSV with a header row, or JSON."};
inline constexpr KeyText UsageDisable{L"803", L"Disables the entry and applies the change at once."};
inline constexpr KeyText UsageEnable{
    L"804", L"Enables the entry and applies the change at once; an entry whose program file is gone only "
            L"with /force."};
inline constexpr KeyText UsageRemove{
    L"805", L"Takes the entry out of its place for good and applies the change at once."};
inline constexpr KeyText UsageAdd{L"806", L"Adds an entry as Add Task does and applies it at once."};
inline constexpr KeyText UsageSave{L"807", L"Saves the whole list as a profile."};
inline constexpr KeyText UsageLoad{L"808",
                                   L"Loads the profile as Load from profile does and applies it at once."};
inline constexpr KeyText UsageCompare{
    L"809",
    L"Compares the list with what an earlier /list /json wrote: the entries that are new, gone or changed."};
inline constexpr KeyText UsageHelp{L"810", L"Shows this text."};
inline constexpr KeyText UsageNotes{
    L"811", L"NAME is a Task Name, PLACE one of the places below: its short name, its identifier or its Load "
            L"From text. Switches may be written in any case; a value with blanks is quoted."};
inline constexpr KeyText PlacesHeading{L"812", L"Places:"};
inline constexpr KeyText ExitCodesHeading{L"813", L"Exit codes:"};
inline constexpr KeyText ExitDone{L"814", L"done; for /compare, no difference"};
inline constexpr KeyText ExitFailed{L"815", L"some change failed; for /compare, differences found"};
inline constexpr KeyText ExitNoEntry{L"816",
                                     L"no such entry, or NAME is in several places and /from is missing"};
inline constexpr KeyText ExitUsage{L"817", L"bad usage"};
inline constexpr KeyText ExitNotSafe{L"818", L"the change could not be made safely now"};
inline constexpr KeyText UnknownSwitch{L"820", L"Unknown switch: %1."};
inline constexpr KeyText MissingValue{L"821", L"The switch %1 needs a value."};
inline constexpr KeyText SwitchTwice{L"822", L"The switch %1 is given twice."};
inline constexpr KeyText TwoVerbs{L"823", L"%1 and %2 cannot be given together."};
inline constexpr KeyText SwitchNotWithVerb{L"824", L"The switch %1 does not go with %2."};
inline constexpr KeyText NoVerb{L"825", L"Nothing to do: give one of the switches below."};
inline constexpr KeyText NotASwitch{L"826", L"\"%1\" is no switch. A value with blanks is quoted."};
inline constexpr KeyText SwitchNeeds{L"827", L"%1 needs %2."};
inline constexpr KeyText UnknownPlace{L"828", L"No place is called \"%1\"."};
inline constexpr KeyText PlaceNotForAdd{L"829", L"Add Task cannot add to %1."};
inline constexpr KeyText NoSuchEntry{L"830", L"No entry is called \"%1\"."};
inline constexpr KeyText NoSuchEntryIn{L"831", L"No entry in %2 is called \"%1\"."};
inline constexpr KeyText SeveralPlaces{L"832", L"\"%1\" is in several places; say which with /from:"};
inline constexpr KeyText AlreadyDisabled{L"833", L"%1 is disabled already: nothing to apply."};
inline constexpr KeyText AlreadyEnabled{L"834", L"%1 is enabled already: nothing to apply."};
inline constexpr KeyText AlreadyThere{
    L"835",
    L"%2 holds an entry called \"%1\" already, which the new one would replace. Nothing was changed."};
inline constexpr KeyText StoreNotSafe{
    L"836", L"Nothing was changed: the file of disabled entries is left alone until it can be read."};
inline constexpr KeyText ProfileSaved{L"839", L"The list was saved as the profile %1."};
inline constexpr KeyText ProfileIncompleteNotApplied{
    L"840", L"The last entry of the profile %1 is incomplete: nothing was loaded or applied."};
inline constexpr KeyText CompareNotRead{L"841", L"The earlier list %1 could not be read: %2."};
inline constexpr KeyText CompareNotList{L"842", L"%1 is not a list that /list /json wrote."};
inline constexpr KeyText CompareNew{L"843", L"New: %1 in %2, %3: %4"};
inline constexpr KeyText CompareGone{L"844", L"Gone: %1 in %2, %3: %4"};
inline constexpr KeyText CompareChanged{L"845", L"Changed: %1 in %2, %3: %4, before %5: %6"};
inline constexpr KeyText CompareSame{L"846", L"No difference from %1."};
// Under the one line that says what is wrong with the command line.
inline constexpr KeyText SeeHelp{L"847", L"ravelinc /? for help"};
inline constexpr KeyText ProgramGoneNotEnabled{
    L"848", L"%1 was not enabled: the program it starts is not there (%2). /force enables it all the same."};
// The services view: its tab, headers, start types and states, the row menu's choice, the count
// and the apply's status line.
inline constexpr KeyText StartupTab{L"901", L"Startup programs"};
inline constexpr KeyText ServicesTab{L"902", L"Services"};
inline constexpr KeyText ServiceNameHeader{L"911", L"Name"};
inline constexpr KeyText StartTypeHeader{L"912", L"Start type"};
inline constexpr KeyText StateHeader{L"913", L"State"};
inline constexpr KeyText AutomaticStart{L"921", L"Automatic"};
inline constexpr KeyText DelayedStart{L"922", L"Automatic (Delayed Start)"};
inline constexpr KeyText ManualStart{L"923", L"Manual"};
inline constexpr KeyText DisabledStart{L"924", L"Disabled"};
inline constexpr KeyText Stopped{L"931", L"Stopped"};
inline constexpr KeyText Starting{L"932", L"Starting"};
inline constexpr KeyText Stopping{L"933", L"Stopping"};
inline constexpr KeyText Running{L"934", L"Running"};
inline constexpr KeyText Resuming{L"935", L"Resuming"};
inline constexpr KeyText Pausing{L"936", L"Pausing"};
inline constexpr KeyText Paused{L"937", L"Paused"};
inline constexpr KeyText EnableAsAutomatic{L"941", L"Enable as &Automatic"};
inline constexpr KeyText ServicesApplied{L"951", L"Services: %1 disabled, %2 enabled."};
inline constexpr KeyText StillRunning{L"952", L"Still running, disabled from the next start: %1."};
inline constexpr KeyText StartsNotRead{L"953", L"the remembered start types could not be read completely"};
inline constexpr KeyText StartNotRemembered{L"954",
                                            L"left as it was, its start type could not be remembered first"};
inline constexpr KeyText StartsNotSaved{L"955", L"The remembered start types could not be saved: %1."};
inline constexpr KeyText ServicesNotListed{L"956", L"The services could not be listed: %1."};
inline constexpr KeyText StartsFileNotRead{
    L"957", L"The start types remembered in %1 could not be read completely: %2. No service is changed until "
            L"it can be read."};
inline constexpr KeyText ServicesNotRemoved{L"958",
                                            L"A service cannot be removed, only disabled or enabled."};
inline constexpr KeyText UsageListServices{
    L"959", L"Writes the services as the Services view shows them: CSV with a header row, or JSON."};
inline constexpr KeyText UsageServiceChange{
    L"960", L"Disables or enables the service of that key name or display name at once; a running service "
            L"keeps running, the change holds from its next start."};

// The scheduled tasks view and its apply.
inline constexpr KeyText TasksTab{L"970", L"Scheduled tasks"};
inline constexpr KeyText TasksApplied{L"971", L"Scheduled tasks: %1 disabled, %2 enabled."};
// Besides those that start at log on or boot.
inline constexpr KeyText ShowAllTasks{L"972", L"Show all tasks"};
inline constexpr KeyText ScheduledTaskHeader{L"973", L"Name"};
inline constexpr KeyText TaskFolderHeader{L"974", L"Folder"};
inline constexpr KeyText TaskStartsHeader{L"975", L"Starts"};
inline constexpr KeyText TaskCommandHeader{L"976", L"Command"};
inline constexpr KeyText TaskResultHeader{L"977", L"Last result"};
inline constexpr KeyText AtLogon{L"978", L"At log on"};
inline constexpr KeyText AtBoot{L"979", L"At startup"};
inline constexpr KeyText Daily{L"980", L"Daily"};
inline constexpr KeyText Weekly{L"981", L"Weekly"};
inline constexpr KeyText Monthly{L"982", L"Monthly"};
inline constexpr KeyText Once{L"983", L"One time"};
inline constexpr KeyText OnIdle{L"984", L"On idle"};
inline constexpr KeyText OnEvent{L"985", L"On an event"};
inline constexpr KeyText OnRegistration{L"986", L"When created or changed"};
inline constexpr KeyText OnSession{L"987", L"On a session change"};
inline constexpr KeyText OtherStart{L"988", L"Other"};
inline constexpr KeyText NoStart{L"989", L"Never by itself"};
inline constexpr KeyText TaskReady{L"990", L"Ready"};
inline constexpr KeyText TaskQueued{L"991", L"Queued"};
inline constexpr KeyText TaskStateUnknown{L"992", L"Unknown"};
inline constexpr KeyText HasNotRun{L"993", L"Has not run yet"};
inline constexpr KeyText TaskHandler{L"994", L"Handler %1"};
inline constexpr KeyText TaskUnreadable{L"995", L"Its definition cannot be read: %1"};
inline constexpr KeyText TasksNotListed{L"996", L"Some task folders could not be listed: %1 (%2)."};
// %3: the tasks that start neither at log on nor at boot.
inline constexpr KeyText TasksShown{L"997", L"%1 of %2 shown, %3 others hidden"};
inline constexpr KeyText TasksNotRemoved{
    L"1001", L"A scheduled task cannot be removed here, only disabled or enabled."};
inline constexpr KeyText SeveralTasks{L"998", L"More than one task is named %1; give its folder too:"};
inline constexpr KeyText UsageListTasks{
    L"999",
    L"Writes the scheduled tasks that start at log on or boot (with /all, every task) as the view shows "
    L"them: CSV with a header row, or JSON."};
inline constexpr KeyText UsageTaskChange{
    L"1000",
    L"Disables or enables the scheduled task of that name or path (\\Folder\\Name) at once; nothing is "
    L"deleted, the task's own Enabled setting changes."};
inline constexpr KeyText UsageVerify{
    L"1100", L"Checks the signature of every entry's file before it writes the list; without /verify, a "
             L"signature not yet known from an earlier check says pending."};

// What an entry costs the logon, by the newest record of the processes a logon started.
inline constexpr KeyText ImpactHigh{L"1351", L"High"};
inline constexpr KeyText ImpactMedium{L"1352", L"Medium"};
inline constexpr KeyText ImpactLow{L"1353", L"Low"};
inline constexpr KeyText ImpactNotMeasured{L"1354", L"Not measured"};
inline constexpr KeyText ImpactNone{L"1355", L"None"};
inline constexpr KeyText CpuTimeHeader{L"1356", L"CPU time (ms)"};
inline constexpr KeyText DiskBytesHeader{L"1357", L"Disk (bytes)"};
inline constexpr KeyText ImpactLine{L"1358", L"Logon impact: %1"};
inline constexpr KeyText CpuTimeLine{L"1359", L"CPU time: %1 ms"};
inline constexpr KeyText DiskLine{L"1360", L"Read from and written to disk: %1 bytes"};
// %1 the record's file, %2 the time it was written.
inline constexpr KeyText RecordLine{L"1361", L"From the record %1 of %2"};
inline constexpr KeyText NotInRecord{L"1362", L"The record %1 of %2 does not hold this program."};
inline constexpr KeyText NoRecord{L"1363", L"No record of a logon could be read."};
inline constexpr KeyText ImpactOfDisabled{L"1364", L"The entry is disabled: it does not start at logon."};
inline constexpr KeyText RecordSkipped{L"1365", L"Passed over: %1 (%2)"};
inline constexpr KeyText NoProgramFile{L"1366", L"It names no program file that exists."};
inline constexpr KeyText RecordNotReadYet{L"1367", L"The records of the logons have not been read yet."};
inline constexpr KeyText RecordWrongRoot{L"1368", L"its root element is <%1>, not <StartupData>"};
// Measuring the next logon: the menu item, what the command line says, its usage.
inline constexpr KeyText MeasureItem{L"1375", L"&Measure the next logon"};
inline constexpr KeyText WatchArmed{
    L"1376", L"The next logon will be measured for %1 seconds; its record is written to %2."};
inline constexpr KeyText WatchDisarmed{L"1377", L"The next logon will not be measured."};
inline constexpr KeyText WatchNotArmed{L"1378", L"The measure of the next logon could not be set up: %1"};
inline constexpr KeyText UsageMeasure{L"1379",
                                      L"Measures the processes the next logon starts, once, for 90 seconds "
                                      L"or the seconds given; /off takes the measure back."};
inline constexpr KeyText BadSeconds{L"1380", L"/seconds takes a whole number from 1 to 3600, not %1."};

} // namespace keys
