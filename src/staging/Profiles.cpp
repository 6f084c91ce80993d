// Profiles in the entry-file format of the store.
#include "staging/Profiles.h"
#include "staging/EntryFile.h"
#include "platform/Names.h"

#include <vector>

std::wstring ProfileFilter()
{
    std::wstring filter;
    filter += L"Profiles (*.Pro)|*.Pro|";
    filter += L"Text Files (*.txt)|*.txt|";
    filter += L"All Files (*.*)|*.*";
    return filter;
}

std::wstring ProfileNameWithExtension(const std::wstring& fileName, int filterIndex)
{
    if (filterIndex != 1 || fileName.empty())
        return fileName;
    const size_t slash = fileName.find_last_of(L"\\/");
    const size_t dot = fileName.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    return hasExtension ? fileName : fileName + L".Pro";
}

DWORD SaveProfile(const StartupList& list, const std::wstring& fileName,
                  const std::vector<EntryRecord>& services)
{
    std::vector<EntryRecord> records(static_cast<size_t>(list.Count()));
    CopyListToRecords(list, records);
    records.insert(records.end(), services.begin(), services.end());
    return WriteEntryFile(records, fileName, static_cast<int>(records.size()));
}

ProfileLoad LoadProfile(StartupList& list, const std::wstring& fileName)
{
    ProfileLoad outcome;
    EntryFileContent content = ReadEntryRecords(fileName);
    if (content.error != ERROR_SUCCESS)
    {
        outcome.error = content.error;
        return outcome;
    }
    list.Clear();
    for (const EntryRecord& record : content.records)
        if (record[LoadFrom] == platform::names::ServiceLoadFrom)
            outcome.services.push_back(record);
        else
            list.AppendRow(record);
    if (list.Count() >= 1)
        list.Select(1);
    outcome.incomplete = content.incomplete;
    return outcome;
}
