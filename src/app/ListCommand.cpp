// The list command: the start's fill without a window, written to standard output.
#include "app/ListCommand.h"
#include "staging/StartupFill.h"
#include "i18n/Keys.h"
#include "find/ListExport.h"
#include "platform/Console.h"
#include "platform/Text.h"

ListRequest ParseListRequest(std::wstring_view arguments)
{
    ListRequest request;
    while (!arguments.empty())
    {
        const size_t start = arguments.find_first_not_of(L" \t");
        if (start == std::wstring_view::npos)
            break;
        arguments.remove_prefix(start);
        const std::wstring_view word = arguments.substr(0, arguments.find_first_of(L" \t"));
        arguments.remove_prefix(word.size());
        if (word.size() < 2 || (word[0] != L'/' && word[0] != L'-'))
            continue;
        if (platform::EqualsNoCase(word.substr(1), L"list"))
            request.wanted = true;
        if (platform::EqualsNoCase(word.substr(1), L"json"))
            request.json = true;
    }
    return request;
}

int RunListCommand(bool json)
{
    LoadStoredLanguage();
    MainState state;
    FillStartupList(state);
    FileFactsTable facts;
    for (const std::wstring& location : facts.TakeUnasked(state.List))
        facts.Store(location, ResolveFileFacts(location));
    DisplayList display;
    display.Update(state.List, facts);
    const std::vector<ExportRow> rows = ExportRows(state.List, facts, display);
    if (json)
        return platform::WriteStandardOutput(ToJson(rows)) == ERROR_SUCCESS ? 0 : 1;
    std::array<std::wstring, ShownColumnCount + 1> header;
    for (int column = 0; column < ShownColumnCount; ++column)
        header[static_cast<size_t>(column)] = LookupText(keys::ColumnHeaders[column]);
    header.back() = LookupText(keys::FileExistsHeader);
    return platform::WriteStandardOutput(ToCsv(header, rows)) == ERROR_SUCCESS ? 0 : 1;
}
