// Signatures through WinVerifyTrust and the catalog functions of wintrust, stamps through the
// file's attributes, hashes through bcrypt.
#include "platform/Signatures.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/Processes.h"
#include "platform/Text.h"

#include <bcrypt.h>
#include <softpub.h>
#include <wintrust.h>
#include <mscat.h>

#include <vector>

namespace platform
{

namespace
{

TrustStandIn standIn;

// The catalog calls that know SHA-256, from Windows 8 on. Looked up, never imported: a system
// without them must still load the program. Wine 8 has the first, which fails, not the second:
// there only the SHA-1 context is asked.
using AcquireContext2Call = BOOL(WINAPI*)(HCATADMIN*, const GUID*, PCWSTR, PCCERT_STRONG_SIGN_PARA, DWORD);
using CalcHash2Call = BOOL(WINAPI*)(HCATADMIN, HANDLE, DWORD*, BYTE*, DWORD);
struct NewerCatalogCalls
{
    AcquireContext2Call acquire = nullptr;
    CalcHash2Call calcHash = nullptr;
};

template <class Call> Call Resolve(HMODULE module, const char* name)
{
    // Through the one function type that converts to any other.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const NewerCatalogCalls& Newer()
{
    static const NewerCatalogCalls calls = [] {
        NewerCatalogCalls found;
        if (HMODULE wintrust = GetModuleHandleW(L"wintrust.dll"))
        {
            found.acquire = Resolve<AcquireContext2Call>(wintrust, "CryptCATAdminAcquireContext2");
            found.calcHash = Resolve<CalcHash2Call>(wintrust, "CryptCATAdminCalcHashFromFileHandle2");
        }
        return found;
    }();
    return calls;
}

// Read whole, front to back, while its owner may go on writing, renaming or deleting it.
UniqueHandle OpenToRead(const std::wstring& path)
{
    return MakeUniqueHandle(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

void Rewind(HANDLE file)
{
    LARGE_INTEGER start{};
    SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

std::wstring LeafSigner(HANDLE state)
{
    CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(state);
    CRYPT_PROVIDER_SGNR* signer = provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain || !signer->pasCertChain[0].pCert)
        return {};
    wchar_t name[256] = {};
    const DWORD n = CertGetNameStringW(signer->pasCertChain[0].pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0,
                                       nullptr, name, 256);
    return n > 1 ? std::wstring(name, n - 1) : std::wstring();
}

// The cache holds no revocation list for the chain: the signature holds as far as can be told
// without the network, which a check never waits on.
bool RevocationUnknown(LONG code)
{
    return code == CERT_E_REVOCATION_FAILURE || code == CRYPT_E_REVOCATION_OFFLINE ||
           code == CRYPT_E_NO_REVOCATION_CHECK;
}

// One verification, its state closed again; the signer's name when it holds.
LONG Verify(WINTRUST_DATA& data, std::wstring& signer)
{
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    data.cbStruct = sizeof(data);
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    // Certificates and revocation lists only from the cache: never a wait on the network.
    data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;
    HWND noUser = static_cast<HWND>(INVALID_HANDLE_VALUE);
    const LONG code = WinVerifyTrust(noUser, &action, &data);
    if (code == ERROR_SUCCESS || RevocationUnknown(code))
        signer = LeafSigner(data.hWVTStateData);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(noUser, &action, &data);
    return code;
}

// A file without a signature of its own: a catalog may sign it.
bool SignedNowhere(LONG code)
{
    return code == TRUST_E_NOSIGNATURE || code == TRUST_E_SUBJECT_FORM_UNKNOWN ||
           code == TRUST_E_PROVIDER_UNKNOWN;
}

} // namespace

TrustProblem ProblemOfCode(LONG code)
{
    switch (code)
    {
    case TRUST_E_BAD_DIGEST:
        return TrustProblem::BadDigest;
    case CERT_E_UNTRUSTEDROOT:
    case CERT_E_UNTRUSTEDTESTROOT:
    case CERT_E_CHAINING:
        return TrustProblem::UntrustedRoot;
    case CERT_E_EXPIRED:
        return TrustProblem::Expired;
    case CERT_E_REVOKED:
    case CRYPT_E_REVOKED:
        return TrustProblem::Revoked;
    }
    return TrustProblem::Other;
}

SignatureChecker::~SignatureChecker()
{
    for (HANDLE admin : admins_)
        if (admin)
            CryptCATAdminReleaseContext(admin, 0);
}

std::wstring SignatureChecker::CatalogOf(HANDLE file, std::wstring& memberTag, std::string& hash,
                                         HANDLE& admin)
{
    const NewerCatalogCalls& newer = Newer();
    if (!adminsTried_)
    {
        adminsTried_ = true;
        GUID subsystem = DRIVER_ACTION_VERIFY;
        HCATADMIN context = nullptr;
        if (newer.acquire && newer.calcHash &&
            newer.acquire(&context, &subsystem, BCRYPT_SHA256_ALGORITHM, nullptr, 0))
            admins_[0] = context;
        if (CryptCATAdminAcquireContext(&context, &subsystem, 0))
            admins_[1] = context;
    }
    // Newer catalogs list SHA-256 hashes, older ones SHA-1: each is asked in turn.
    for (int i = 0; i < 2; ++i)
    {
        if (!admins_[i])
            continue;
        BYTE bytes[64];
        DWORD size = sizeof(bytes);
        Rewind(file);
        if (!(i == 0 ? newer.calcHash(admins_[i], file, &size, bytes, 0)
                     : CryptCATAdminCalcHashFromFileHandle(file, &size, bytes, 0)))
            continue;
        HCATINFO info = CryptCATAdminEnumCatalogFromHash(admins_[i], bytes, size, 0, nullptr);
        if (!info)
            continue;
        CATALOG_INFO catalog{};
        catalog.cbStruct = sizeof(catalog);
        std::wstring path;
        if (CryptCATCatalogInfoFromContext(info, &catalog, 0))
            path = catalog.wszCatalogFile;
        CryptCATAdminReleaseCatalogContext(admins_[i], info, 0);
        if (path.empty())
            continue;
        hash.assign(reinterpret_cast<const char*>(bytes), size);
        memberTag.clear();
        for (DWORD k = 0; k < size; ++k)
            memberTag += Hex(bytes[k], 2);
        admin = admins_[i];
        return path;
    }
    return {};
}

Signature SignatureChecker::Check(const std::wstring& path)
{
    UniqueHandle file = OpenToRead(path);
    if (!file)
    {
        const DWORD error = GetLastError();
        if (IsMissing(error))
            return NoSigner(SignatureState::FileMissing);
        const LONG code = HRESULT_FROM_WIN32(error);
        return NoSigner(SignatureState::NotVerified, TrustProblem::Other, code);
    }
    Signature result;
    std::wstring signer;
    LONG code = 0;
    if (standIn.verify)
    {
        code = standIn.verify(path, {}, signer);
    }
    else
    {
        WINTRUST_FILE_INFO fileInfo{sizeof(fileInfo), path.c_str(), file.get(), nullptr};
        WINTRUST_DATA data{};
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &fileInfo;
        Rewind(file.get());
        code = Verify(data, signer);
    }
    if (SignedNowhere(code))
    {
        // Windows' own files are mostly signed in its catalogs, not in themselves.
        std::wstring memberTag;
        std::string hash;
        HANDLE admin = nullptr;
        const std::wstring catalog =
            standIn.catalogOf ? standIn.catalogOf(path) : CatalogOf(file.get(), memberTag, hash, admin);
        if (catalog.empty())
            return NoSigner(SignatureState::Unsigned, TrustProblem::None, code);
        result.catalog = true;
        if (standIn.verify)
        {
            code = standIn.verify(path, catalog, signer);
        }
        else
        {
            WINTRUST_CATALOG_INFO member{};
            member.cbStruct = sizeof(member);
            member.pcwszCatalogFilePath = catalog.c_str();
            member.pcwszMemberTag = memberTag.c_str();
            member.pcwszMemberFilePath = path.c_str();
            member.hMemberFile = file.get();
            member.pbCalculatedFileHash = reinterpret_cast<BYTE*>(hash.data());
            member.cbCalculatedFileHash = static_cast<DWORD>(hash.size());
            member.hCatAdmin = admin;
            WINTRUST_DATA data{};
            data.dwUnionChoice = WTD_CHOICE_CATALOG;
            data.pCatalog = &member;
            Rewind(file.get());
            code = Verify(data, signer);
        }
    }
    result.code = code;
    if (code == ERROR_SUCCESS || RevocationUnknown(code))
    {
        result.state = SignatureState::Verified;
        result.signer = std::move(signer);
        return result;
    }
    result.state = SignatureState::NotVerified;
    result.problem = ProblemOfCode(code);
    return result;
}

bool ReadFileStamp(const std::wstring& path, FileStamp& stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.lastWrite = FileTimeTicks(data.ftLastWriteTime);
    return true;
}

std::wstring FileSha256(const std::wstring& path)
{
    UniqueHandle file = OpenToRead(path);
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!file ||
        !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return {};
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool whole = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
    std::vector<BYTE> buffer(1 << 16);
    for (DWORD got = 0; whole;)
    {
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            whole = false;
        else if (got == 0)
            break;
        else
            whole = BCRYPT_SUCCESS(BCryptHashData(hash, buffer.data(), got, 0));
    }
    BYTE digest[32];
    whole = whole && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest, sizeof(digest), 0));
    if (hash)
        BCryptDestroyHash(hash);
    BCryptCloseAlgorithmProvider(algorithm, 0);
    std::wstring text;
    for (size_t i = 0; whole && i < sizeof(digest); ++i)
        text += Hex(digest[i], 2, true);
    return text;
}

void OverrideTrust(TrustStandIn replacement)
{
    standIn = std::move(replacement);
}

} // namespace platform
