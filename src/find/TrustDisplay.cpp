// The Signer cell, the signature's word, the rules of Windows' own entries and of the signer who is
// not the publisher.
#include "find/TrustDisplay.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace
{

using platform::SignatureState;

const platform::Signature* SignatureOf(const FileFacts* facts, const FileFactsTable& table)
{
    const FileTrust* trust = table.TrustOf(facts);
    return trust && trust->signature ? &*trust->signature : nullptr;
}

const keys::KeyText& ReasonOf(platform::TrustProblem problem)
{
    switch (problem)
    {
    case platform::TrustProblem::BadDigest:
        return keys::BadDigestReason;
    case platform::TrustProblem::UntrustedRoot:
        return keys::UntrustedRootReason;
    case platform::TrustProblem::Expired:
        return keys::ExpiredReason;
    case platform::TrustProblem::Revoked:
        return keys::RevokedReason;
    default:
        return keys::TrustErrorReason;
    }
}

// The names Microsoft signs Windows with.
constexpr const wchar_t* MicrosoftSigners[] = {L"Microsoft Windows", L"Microsoft Corporation",
                                               L"Microsoft Windows Publisher",
                                               L"Microsoft Windows Hardware Compatibility Publisher"};

// Words that say what kind of company it is, not which.
constexpr const wchar_t* LegalForms[] = {L"inc", L"incorporated", L"corp", L"corporation", L"co", L"company",
                                         L"ltd", L"limited",      L"llc",  L"gmbh",        L"ag", L"sa",
                                         L"sas", L"sarl",         L"srl",  L"bv",          L"nv", L"plc",
                                         L"kg",  L"oy",           L"ab",   L"pty",         L"the"};

std::vector<std::wstring> CompanyWords(const std::wstring& name)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (size_t i = 0; i <= name.size(); ++i)
    {
        if (i < name.size() && std::iswalnum(name[i]))
        {
            word += name[i];
            continue;
        }
        word = platform::FoldCase(word);
        if (!word.empty() &&
            std::none_of(std::begin(LegalForms), std::end(LegalForms),
                         [&](const wchar_t* form) { return platform::EqualsNoCase(word, form); }))
            words.push_back(word);
        word.clear();
    }
    return words;
}

} // namespace

std::wstring SignerText(const FileFacts* facts, const FileFactsTable& table)
{
    if (facts && facts->state == FileFacts::State::Missing)
        return LookupText(keys::FileMissingWord);
    const platform::Signature* signature = SignatureOf(facts, table);
    if (!signature)
        return {};
    switch (signature->state)
    {
    case SignatureState::Verified:
        return signature->signer;
    case SignatureState::NotVerified:
        return FormatText(
            LookupText(keys::NotVerified),
            {FormatText(LookupText(ReasonOf(signature->problem)),
                        {L"0x" + platform::Hex(static_cast<unsigned long>(signature->code), 8)})});
    case SignatureState::Unsigned:
        return LookupText(keys::UnsignedWord);
    case SignatureState::FileMissing:
        break;
    }
    return LookupText(keys::FileMissingWord);
}

std::wstring SignatureWord(const FileFacts* facts, const FileFactsTable& table)
{
    if (!facts || facts->state == FileFacts::State::NoFile)
        return {};
    if (facts->state == FileFacts::State::Missing)
        return L"missing";
    const platform::Signature* signature = SignatureOf(facts, table);
    if (!signature)
        return platform::FolderExists(facts->file) ? std::wstring() : L"pending";
    switch (signature->state)
    {
    case SignatureState::Verified:
        return L"verified";
    case SignatureState::NotVerified:
        return L"notVerified";
    case SignatureState::Unsigned:
        return L"unsigned";
    case SignatureState::FileMissing:
        break;
    }
    return L"missing";
}

std::wstring Sha256Text(const FileFacts* facts, const FileFactsTable& table)
{
    const FileTrust* trust = table.TrustOf(facts);
    return trust ? trust->sha256 : std::wstring();
}

bool IsWindowsEntry(const FileFacts* facts, const FileFactsTable& table)
{
    const platform::Signature* signature = SignatureOf(facts, table);
    if (!signature || signature->state != SignatureState::Verified ||
        std::none_of(std::begin(MicrosoftSigners), std::end(MicrosoftSigners),
                     [&](const wchar_t* name) { return signature->signer == name; }))
        return false;
    const std::wstring windows = platform::GetWindowsFolder() + L"\\";
    return facts->file.size() > windows.size() &&
           platform::EqualsNoCase(facts->file.substr(0, windows.size()), windows);
}

bool SameCompany(const std::wstring& a, const std::wstring& b)
{
    const std::vector<std::wstring> one = CompanyWords(a), other = CompanyWords(b);
    const size_t common = std::min(one.size(), other.size());
    return common == 0 ||
           std::equal(one.begin(), one.begin() + static_cast<std::ptrdiff_t>(common), other.begin());
}

bool SignerDiffers(const FileFacts* facts, const FileFactsTable& table)
{
    const platform::Signature* signature = SignatureOf(facts, table);
    return signature && signature->state == SignatureState::Verified && !facts->publisher.empty() &&
           !SameCompany(signature->signer, facts->publisher);
}

bool HiddenByTrust(const TrustHiding& hiding, const FileFacts* facts, const FileFactsTable& table)
{
    if (!hiding.Any())
        return false;
    const platform::Signature* signature = SignatureOf(facts, table);
    return (hiding.verified && signature && signature->state == SignatureState::Verified) ||
           (hiding.windows && IsWindowsEntry(facts, table));
}

RowMark MarkOf(const FileFacts* facts, const FileFactsTable& table)
{
    if (facts && facts->state == FileFacts::State::Missing)
        return RowMark::Missing;
    return SignerDiffers(facts, table) ? RowMark::SignerDiffers : RowMark::Plain;
}

std::wstring LocationText(const std::wstring& commandLine, const FileFacts* facts)
{
    if (!facts || !facts->hosted || facts->file.empty())
        return commandLine;
    return FormatText(LookupText(keys::LocationWithFile), {commandLine, facts->file});
}
