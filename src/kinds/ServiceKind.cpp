// The services' contract over their scanner, staging, store of start types and apply.
#include "kinds/ServiceKind.h"
#include "apply/ServicesApply.h"
#include "find/FileTrust.h"
#include "find/ServiceDisplay.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Names.h"
#include "platform/Text.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"

void ServiceKind::Fill()
{
    state_.List.Clear();
    FillServices(state_);
}

bool ServiceKind::Staged() const
{
    for (int position = 1; position <= state_.List.Count(); ++position)
        if (ServiceChangeStaged(state_.List.Row(position)))
            return true;
    return false;
}

void ServiceKind::Reset()
{
    ResetServices(state_);
    SyncServiceButtons(state_);
}

ApplyResult ServiceKind::Apply(DWORD lockWait)
{
    ApplyResult result = ApplyServices(state_, lockWait);
    SyncServiceButtons(state_);
    return result;
}

std::vector<FileRecord> ServiceKind::ProfileRecords()
{
    if (!Filled())
        Fill();
    return ServiceProfileRecords(state_);
}

void ServiceKind::LoadProfileRecords(const std::vector<FileRecord>& records)
{
    if (records.empty())
        return;
    if (!Filled())
        Fill();
    LoadServiceProfileRecords(state_, records);
}

std::optional<VerbAnswer> ServiceKind::NotListed() const
{
    if (state_.ListError == ERROR_SUCCESS)
        return std::nullopt;
    return VerbAnswer{
        ExitFailed, {}, FormatText(LookupText(keys::ServicesNotListed), {ErrorReasonText(state_.ListError)})};
}

VerbAnswer ServiceKind::ListVerb(bool json, bool, bool verify)
{
    Fill();
    if (std::optional<VerbAnswer> answer = NotListed())
        return *answer;
    FileFactsTable facts;
    for (int position = 1; position <= state_.List.Count(); ++position)
        if (const std::wstring question = ServiceQuestion(state_.List.Row(position));
            facts.TakeUnasked(question))
            facts.Store(question, ResolveFileFacts(question));
    JudgeFiles(facts, verify);
    DisplayList display;
    UpdateServiceDisplay(display, state_.List, facts, {});
    const std::vector<ServiceExportRow> rows = ServiceExportRows(state_.List, facts, display, json);
    return {ExitDone, json ? ServicesToJson(rows) : ServicesToCsv(rows), {}};
}

VerbAnswer ServiceKind::ChangeVerb(const std::wstring& name, const std::optional<std::wstring>&,
                                   ::ChangeVerb verb, bool)
{
    if (verb == ChangeVerb::Remove)
        return {ExitBadUsage, {}, LookupText(keys::ServicesNotRemoved)};
    Fill();
    if (std::optional<VerbAnswer> answer = NotListed())
        return *answer;
    // An enable would not know what to give back.
    if (!state_.StartsReadWhole())
        return {ExitNotSafe, {}, StartsProblemText(state_)};
    const int position = state_.List.Find(std::wstring(platform::Trim(name)));
    if (!position)
        return {ExitNoEntry,
                {},
                FormatText(LookupText(keys::NoSuchEntryIn), {name, platform::names::ServiceLoadFrom})};
    const ServiceRow& row = state_.List.Row(position);
    const bool enable = verb == ChangeVerb::Enable;
    if (!enable && row.start.type == SERVICE_DISABLED)
        return {ExitDone, FormatText(LookupText(keys::AlreadyDisabled), {row.displayName}), {}};
    if (enable && row.start.type != SERVICE_DISABLED)
        return {ExitDone, FormatText(LookupText(keys::AlreadyEnabled), {row.displayName}), {}};
    StageService(state_, row.name, enable);
    return AnswerOf(Apply(ConsoleLockWait));
}
