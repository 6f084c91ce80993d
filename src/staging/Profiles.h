// Profiles: the whole list saved to a file of the user's choosing and loaded back.
#pragma once
#include "model/StartupList.h"
#include "staging/EntryFile.h"

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// The profile dialog's filter, choices separated by '|': profiles, text files, all files.
std::wstring ProfileFilter();
// With the profiles choice (filter 1) a name without an extension gets ".Pro".
std::wstring ProfileNameWithExtension(const std::wstring& fileName, int filterIndex);

// Every row, whatever its state, in list order, then the records of the other kinds of entry.
// Returns the system error, if any.
DWORD SaveProfile(const StartupList& list, const std::wstring& fileName,
                  const std::vector<FileRecord>& others = {});

struct ProfileLoad
{
    DWORD error = ERROR_SUCCESS;    // the file could not be read: the list is as it was
    bool incomplete = false;        // the file ended inside a record, which was not loaded
    std::vector<FileRecord> others; // the records of other kinds of entry, which are not startup rows
};
// Reads the file first and replaces the rows only when it could be read; a record for which
// ofAnotherKind holds is no startup row, and is given back in others.
ProfileLoad LoadProfile(StartupList& list, const std::wstring& fileName,
                        const std::function<bool(const FileRecord&)>& ofAnotherKind = {});
