// Reading the records of the processes the last logons started: Windows' own for the user, and
// the one our watcher writes beside the store.
#pragma once
#include "find/LogonImpact.h"

#include <string>
#include <string_view>
#include <vector>

// The record files of the user's SID in Windows' folder (<SID>_StartupInfo<N>.xml there, or
// *.xml in its <SID> subfolder), then ownFile when it exists; in no order.
std::vector<std::wstring> LogonRecordFiles(const std::wstring& startupInfoFolder, const std::wstring& sid,
                                           const std::wstring& ownFile);
// One record's processes into record; false, with the reason in words, when it is not one.
bool ParseLogonRecord(std::string_view bytes, LogonImpact& record, std::wstring& reason);
// The newest of the files (by last write) that reads as a record; each newer one that does not
// is kept in skipped with its reason. No file read: record.file is empty.
LogonImpact ReadNewestRecord(const std::vector<std::wstring>& files);
// The same for the current user's records in the system's places.
LogonImpact ReadLogonImpact();
