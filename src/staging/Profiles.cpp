// Profiles in the entry-file format of the store.
#include "staging/Profiles.h"
#include "staging/EntryFile.h"

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
                  const std::vector<FileRecord>& others)
{
    std::vector<FileRecord> records;
    records.reserve(static_cast<size_t>(list.Count()) + others.size());
    for (int row = 1; row <= list.Count(); ++row)
        records.push_back(ToFileRecord(list.Row(row)));
    records.insert(records.end(), others.begin(), others.end());
    return WriteEntryFile(records, fileName);
}

ProfileLoad LoadProfile(StartupList& list, const std::wstring& fileName,
                        const std::function<bool(const FileRecord&)>& ofAnotherKind)
{
    ProfileLoad outcome;
    EntryFileContent content = ReadEntryRecords(fileName);
    if (content.error != ERROR_SUCCESS)
    {
        outcome.error = content.error;
        return outcome;
    }
    list.Clear();
    FileWords words;
    for (const FileRecord& record : content.records)
        if (ofAnotherKind && ofAnotherKind(record))
            outcome.others.push_back(record);
        else
            list.Append(FromFileRecord(record, words));
    if (list.Count() >= 1)
        list.Select(1);
    outcome.incomplete = content.incomplete;
    return outcome;
}
