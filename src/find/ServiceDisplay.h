// What the services view shows: its columns and cell texts, the rows that show in which order, and
// the shown rows for scripts.
#pragma once
#include "find/DisplayList.h"
#include "find/FileFacts.h"
#include "find/ListExport.h"
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
    ServiceSigner,
    ServiceLocation,
    ServiceColumnCount
};
// Not shown, but the filter finds a service by it too.
inline constexpr int ServiceKeyNameColumn = ServiceColumnCount;
inline constexpr keys::KeyText ServiceColumnHeaders[ServiceColumnCount] = {
    keys::ServiceNameHeader, keys::StatusHeader, keys::StartTypeHeader, keys::StateHeader,
    keys::PublisherHeader,   keys::SignerHeader, keys::LocationHeader};

// What the worker is asked of a service: its command line, with the DLL svchost runs for it.
std::wstring ServiceQuestion(const ServiceRow& row);
// The facts of the file that judges the service; null while they are not known.
const FileFacts* FactsOfService(const ServiceList& list, const FileFactsTable& facts, int position);
std::wstring ServiceCellText(const ServiceList& list, const FileFactsTable& facts, int position, int column);

// Works out which services show, in which order; returns how many the boxes hide.
int UpdateServiceDisplay(DisplayList& display, const ServiceList& list, const FileFactsTable& facts,
                         const TrustHiding& hiding);

// One shown service; location is the command line alone.
struct ServiceExportRow
{
    std::wstring name, displayName, startType, state, status, location, publisher, signer;
    FileColumns file;
};
// With english, the start type and the state in English, as scripts read them in every language.
std::vector<ServiceExportRow> ServiceExportRows(const ServiceList& list, const FileFactsTable& facts,
                                                const DisplayList& display, bool english = false);
// A header line of the view's columns, File exists, Signature and SHA-256, then one line per row,
// fields as CsvField writes them.
std::wstring ServicesToCsv(const std::vector<ServiceExportRow>& rows);
// An array of objects with the keys name, displayName, startType, state, status, location,
// publisher, signer, fileExists (true, false or null), signature, sha256 and file; status is the
// Enabled or Disabled word.
std::wstring ServicesToJson(const std::vector<ServiceExportRow>& rows);
