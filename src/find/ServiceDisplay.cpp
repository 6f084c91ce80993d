// Cell texts, the display and the JSON of the services view.
#include "find/ServiceDisplay.h"
#include "find/ListExport.h"
#include "find/ProgramPath.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"

std::wstring ServiceQuestion(const ServiceRow& row)
{
    if (row.serviceDll.empty())
        return row.imagePath;
    const std::vector<ProgramCandidate> candidates = ProgramCandidates(row.imagePath);
    const bool hosted = !candidates.empty() && IsServiceHost(candidates.front().program);
    return hosted ? HostedQuestion(row.imagePath, row.serviceDll) : row.imagePath;
}

const FileFacts* FactsOfService(const ServiceList& list, const FileFactsTable& facts, int position)
{
    return facts.Find(ServiceQuestion(list.Row(position)));
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
    case ServiceSigner:
        return SignerText(FactsOfService(list, facts, position), facts);
    case ServiceLocation:
        return LocationText(row.imagePath, FactsOfService(list, facts, position));
    case ServiceKeyNameColumn:
        return row.name;
    }
    return {};
}

int UpdateServiceDisplay(DisplayList& display, const ServiceList& list, const FileFactsTable& facts,
                         const TrustHiding& hiding)
{
    int hidden = 0;
    display.Update(
        list.Count(), ServiceColumnCount + 1,
        [&](int row, int column) { return ServiceCellText(list, facts, row, column); },
        [&](int row) {
            return HiddenByTrust(hiding, FactsOfService(list, facts, row), facts) && ++hidden > 0;
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
        ServiceExportRow row{list.Row(position).name,
                             cell(ServiceName),
                             cell(ServiceStartType),
                             cell(ServiceState),
                             cell(ServiceStatus),
                             list.Row(position).imagePath,
                             cell(ServicePublisher),
                             cell(ServiceSigner),
                             FileColumnsOf(FactsOfService(list, facts, position), facts)};
        if (english)
        {
            row.startType = StartTypeWord(list.Row(position).start, true);
            row.state = ServiceStateWord(list.Row(position).state, true);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::wstring ServicesToCsv(const std::vector<ServiceExportRow>& rows)
{
    std::wstring out;
    for (int column = 0; column < ServiceColumnCount; ++column)
        out += CsvField(LookupText(ServiceColumnHeaders[column])) + L",";
    out += FileCsvHeader();
    for (const ServiceExportRow& row : rows)
    {
        for (const std::wstring* text : {&row.displayName, &row.status, &row.startType, &row.state,
                                         &row.publisher, &row.signer, &row.location})
            out += CsvField(*text) + L",";
        out += FileCsv(row.file);
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
            {L"name", &row.name},           {L"displayName", &row.displayName},
            {L"startType", &row.startType}, {L"state", &row.state},
            {L"status", &row.status},       {L"location", &row.location},
            {L"publisher", &row.publisher}, {L"signer", &row.signer}};
        for (const auto& [key, text] : fields)
            out += JsonString(key) + L": " + JsonString(*text) + L", ";
        out += FileJson(row.file) + L"}";
    }
    return out + (rows.empty() ? L"]\r\n" : L"\r\n]\r\n");
}
