// What the services view shows: its columns and cell texts, which services are Windows' own, the
// rows that show in which order, and the shown rows for scripts.
#pragma once
#include "find/DisplayList.h"
#include "find/FileFacts.h"
#include "i18n/Keys.h"
#include "model/ServiceList.h"

#include <optional>
#include <string>
#include <vector>

enum ServiceColumn
{
    ServiceName = 0, // the display name
    ServiceStatus,
    ServiceStartType,
    ServiceState,
    ServicePublisher,
    ServiceLocation,
    ServiceColumnCount
};
// Not shown, but the filter finds a service by it too.
inline constexpr int ServiceKeyNameColumn = ServiceColumnCount;
inline constexpr keys::KeyText ServiceColumnHeaders[ServiceColumnCount] = {
    keys::ServiceNameHeader, keys::StatusHeader,    keys::StartTypeHeader,
    keys::StateHeader,       keys::PublisherHeader, keys::LocationHeader};

// The facts of the service's program file; null while they are not known.
const FileFacts* FactsOfService(const ServiceList& list, const FileFactsTable& facts, int position);
std::wstring ServiceCellText(const ServiceList& list, const FileFactsTable& facts, int position, int column);
// Its program file lies in the Windows folder and says Microsoft Corporation published it: what
// a file says of itself, which the box that hides these trusts.
bool IsWindowsService(const FileFacts* facts);

// Works out which services show, in which order; with hideWindows, Windows' own services do not.
// Returns how many that hides.
int UpdateServiceDisplay(DisplayList& display, const ServiceList& list, const FileFactsTable& facts,
                         bool hideWindows);

// One shown service; fileExists is none when its command line names no file or is not resolved.
struct ServiceExportRow
{
    std::wstring name, displayName, startType, state, status, location, publisher;
    std::optional<bool> fileExists;
};
// With english, the start type and the state in English, as scripts read them in every language.
std::vector<ServiceExportRow> ServiceExportRows(const ServiceList& list, const FileFactsTable& facts,
                                                const DisplayList& display, bool english = false);
// A header line of the view's columns and File exists, then one line per row, fields as CsvField
// writes them.
std::wstring ServicesToCsv(const std::vector<ServiceExportRow>& rows);
// An array of objects with the keys name, displayName, startType, state, status, location,
// publisher and fileExists (true, false or null); status is the Enabled or Disabled word.
std::wstring ServicesToJson(const std::vector<ServiceExportRow>& rows);
