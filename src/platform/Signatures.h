// Authenticode: whether a file is signed, by whom, and whether the signature holds, from the
// file's own signature or from a catalog of the system; and what identifies a file's contents
// (its size and last write, its SHA-256).
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace platform
{

enum class SignatureState
{
    Verified,    // the signature holds (revocation as far as the cache knows): signer is its leaf's name
    NotVerified, // signed, but the signature does not hold: problem says why
    Unsigned,    // neither the file nor a catalog of the system signs it
    FileMissing, // there is no such file to look at
};
enum class TrustProblem
{
    None,
    BadDigest,     // the file was changed after it was signed
    UntrustedRoot, // the chain ends at a root no store trusts
    Expired,
    Revoked,
    Other, // code says which
};

struct Signature
{
    SignatureState state = SignatureState::Unsigned;
    TrustProblem problem = TrustProblem::None;
    LONG code = 0; // WinVerifyTrust's answer
    std::wstring signer;
    bool catalog = false; // verified as a member of a catalog, not by a signature of its own
    bool operator==(const Signature&) const = default;
};

// An answer that names no signer.
inline Signature NoSigner(SignatureState state, TrustProblem problem = TrustProblem::None, LONG code = 0)
{
    Signature answer;
    answer.state = state;
    answer.problem = problem;
    answer.code = code;
    return answer;
}

// What an answer of WinVerifyTrust that is not success says is wrong.
TrustProblem ProblemOfCode(LONG code);

// Checks files one by one on one thread; the catalogs' contexts are taken once, at the first file
// that needs them. Revocation is looked up in the cache only: no check ever waits on the network.
class SignatureChecker
{
  public:
    SignatureChecker() = default;
    ~SignatureChecker();
    SignatureChecker(const SignatureChecker&) = delete;
    SignatureChecker& operator=(const SignatureChecker&) = delete;

    Signature Check(const std::wstring& path);

  private:
    // The catalog that lists the open file, with the file's hash in the form its members are
    // tagged and the catalogs' context that found it; empty when none does.
    std::wstring CatalogOf(HANDLE file, std::wstring& memberTag, std::string& hash, HANDLE& admin);
    HANDLE admins_[2] = {}; // HCATADMIN of SHA-256 (none where the system lacks it), of SHA-1
    bool adminsTried_ = false;
};

// A file's size and last write: what says it is the file that was checked.
struct FileStamp
{
    ULONGLONG size = 0;
    ULONGLONG lastWrite = 0;
    bool operator==(const FileStamp&) const = default;
};
// False when path is not an existing file.
bool ReadFileStamp(const std::wstring& path, FileStamp& stamp);
// The SHA-256 of the file's contents in lowercase hexadecimal; empty when it cannot be read.
std::wstring FileSha256(const std::wstring& path);

// Tests only. WinVerifyTrust under Wine accepts a well-formed signature from any root, and Wine's
// system has no catalogs: a stand-in answers instead, for the file alone (catalog empty) or as a
// member of the catalog that catalogOf named. Each part left empty stays the system's.
struct TrustStandIn
{
    std::function<std::wstring(const std::wstring& file)> catalogOf;
    std::function<LONG(const std::wstring& file, const std::wstring& catalog, std::wstring& signer)> verify;
};
void OverrideTrust(TrustStandIn standIn);

} // namespace platform
