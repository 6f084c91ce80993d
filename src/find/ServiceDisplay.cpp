// Cell texts, Windows' own services, the display and the JSON of the services view.
#include "find/ServiceDisplay.h"
#include "find/ListExport.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Text.h"

const FileFacts* FactsOfService(const ServiceList& list, const FileFactsTable& facts, int position)
{
    return facts.Find(list.Row(position).imagePath);
}

std::wstring ServiceCellText(const ServiceList& list, const FileFactsTable& facts, int position, int column)
{
    const ServiceRow& row = list.Row(position);
    switch (column)
    {
    case ServiceName:
        return row.displayName;
    case ServiceStatus:
        return StateWord(row.staged);
    case ServiceStartType:
        return row.configError ? std::wstring() : StartTypeWord(row.start);
    case ServiceState:
        return ServiceStateWord(row.state);
    case ServicePublisher: {
        const FileFacts* known = FactsOfService(list, facts, position);
        return known ? known->publisher : std::wstring();
    }
    case ServiceLocation:
        return row.imagePath;
    case ServiceKeyNameColumn:
        return row.name;
    }
    return {};
}

bool IsWindowsService(const FileFacts* facts)
{
    if (!facts || facts->state != FileFacts::State::Found || facts->publisher != L"Microsoft Corporation")
        return false;
    const std::wstring windows = platform::GetWindowsFolder() + L"\\";
    return facts->file.size() > windows.size() &&
           platform::EqualsNoCase(facts->file.substr(0, windows.size()), windows);
}

int UpdateServiceDisplay(DisplayList& display, const ServiceList& list, const FileFactsTable& facts,
                         bool hideWindows)
{
    int hidden = 0;
    display.Update(
        list.Count(), ServiceColumnCount + 1,
        [&](int row, int column) { return ServiceCellText(list, facts, row, column); },
        [&](int row) {
            const bool windows = hideWindows && IsWindowsService(FactsOfService(list, facts, row));
            hidden += windows;
            return windows;
        });
    return hidden;
}

std::vector<ServiceExportRow> ServiceExportRows(const ServiceList& list, const FileFactsTable& facts,
                                                const DisplayList& display, bool english)
{
    std::vector<ServiceExportRow> rows;
    for (int index = 0; index < display.Count(); ++index)
    {
        const int position = display.Position(index);
        auto cell = [&](int column) { return ServiceCellText(list, facts, position, column); };
        ServiceExportRow row{list.Row(position).name, cell(ServiceName),   cell(ServiceStartType),
                             cell(ServiceState),      cell(ServiceStatus), cell(ServiceLocation),
                             cell(ServicePublisher),  std::nullopt};
        if (english)
        {
            row.startType = StartTypeWord(list.Row(position).start, true);
            row.state = ServiceStateWord(list.Row(position).state, true);
        }
        const FileFacts* known = FactsOfService(list, facts, position);
        if (known && known->state != FileFacts::State::NoFile)
            row.fileExists = known->state == FileFacts::State::Found;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::wstring ServicesToCsv(const std::vector<ServiceExportRow>& rows)
{
    std::wstring out;
    for (int column = 0; column < ServiceColumnCount; ++column)
        out += CsvField(LookupText(ServiceColumnHeaders[column])) + L",";
    out += CsvField(LookupText(keys::FileExistsHeader)) + L"\r\n";
    for (const ServiceExportRow& row : rows)
    {
        for (const std::wstring* text :
             {&row.displayName, &row.status, &row.startType, &row.state, &row.publisher, &row.location})
            out += CsvField(*text) + L",";
        out += (row.fileExists ? (*row.fileExists ? L"true" : L"false") : L"") + std::wstring(L"\r\n");
    }
    return out;
}

std::wstring ServicesToJson(const std::vector<ServiceExportRow>& rows)
{
    std::wstring out = L"[";
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const ServiceExportRow& row = rows[i];
        out += i == 0 ? L"\r\n  {" : L",\r\n  {";
        const std::pair<const wchar_t*, const std::wstring*> fields[] = {
            {L"name", &row.name},          {L"displayName", &row.displayName}, {L"startType", &row.startType},
            {L"state", &row.state},        {L"status", &row.status},           {L"location", &row.location},
            {L"publisher", &row.publisher}};
        for (const auto& [key, text] : fields)
            out += JsonString(key) + L": " + JsonString(*text) + L", ";
        out += JsonString(L"fileExists") + L": " +
               (row.fileExists ? (*row.fileExists ? L"true" : L"false") : L"null") + L"}";
    }
    return out + (rows.empty() ? L"]\r\n" : L"\r\n]\r\n");
}
