// Signatures of programs the build signed, under the system's WinVerifyTrust, and through the
// stand-in what Wine cannot give (an untrusted root, a catalog).
#include "platform/Signatures.h"
#include "support/Fixtures.h"
#include "support/Processes.h"

using namespace platform;
class SignatureTest : public testsupport::RavelinTest
{
  protected:
    void SetUp() override
    {
        RavelinTest::SetUp();
        UseSystemTrust();
    }
};

namespace
{

std::wstring Sample(const std::wstring& name)
{
    return testsupport::BuildFolder() + L"\\tests\\trust\\" + name;
}
const std::wstring Unsigned = testsupport::BuildFolder() + L"\\demo\\syncdrive.exe";

} // namespace

TEST_F(SignatureTest, SignedChangedUnsignedMissingAndHeldFilesEachGetTheirAnswer)
{
    SignatureChecker checker;
    const Signature vendor = checker.Check(Sample(L"vendor.exe"));
    EXPECT_EQ(vendor.state, SignatureState::Verified);
    EXPECT_EQ(vendor.signer, L"SyncDrive Software");
    EXPECT_FALSE(vendor.catalog);
    const Signature tampered = checker.Check(Sample(L"tampered.exe"));
    EXPECT_EQ(tampered.state, SignatureState::NotVerified);
    EXPECT_EQ(tampered.problem, TrustProblem::BadDigest);
    EXPECT_EQ(tampered.signer, L"") << "a signature that does not hold names no one";
    EXPECT_EQ(checker.Check(Unsigned).state, SignatureState::Unsigned) << "no catalog of Wine's lists it";
    EXPECT_EQ(checker.Check(Sample(L"gone.exe")).state, SignatureState::FileMissing);
    const std::wstring copy = programFolder + L"\\held.exe";
    ASSERT_TRUE(CopyFileW(Sample(L"vendor.exe").c_str(), copy.c_str(), FALSE));
    testsupport::HeldFile held(copy);
    const Signature unread = checker.Check(copy);
    EXPECT_EQ(unread.state, SignatureState::NotVerified)
        << "a file that cannot be read is not called unsigned";
    EXPECT_EQ(unread.code, HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
}

TEST_F(SignatureTest, AnUntrustedRootAndACatalogAreAnsweredThroughTheStandIn)
{
    SignatureChecker checker;
    std::vector<std::wstring> catalogsAsked;
    const auto verify = [&](LONG own, LONG inCatalog) {
        return [&, own, inCatalog](const std::wstring&, const std::wstring& catalog, std::wstring& signer) {
            catalogsAsked.push_back(catalog);
            signer = L"Microsoft Windows";
            return catalog.empty() ? own : inCatalog;
        };
    };
    OverrideTrust({[](const std::wstring&) { return std::wstring(L"C:\\catroot\\nt5.cat"); },
                   verify(CERT_E_UNTRUSTEDROOT, ERROR_SUCCESS)});
    const Signature rootless = checker.Check(Sample(L"vendor.exe"));
    EXPECT_EQ(rootless.state, SignatureState::NotVerified);
    EXPECT_EQ(rootless.problem, TrustProblem::UntrustedRoot);
    EXPECT_EQ(rootless.signer, L"");
    EXPECT_EQ(catalogsAsked, std::vector<std::wstring>{L""}) << "a file signed itself is not looked up";

    // Without a signature of its own, the catalog that lists the file signs it, or not.
    OverrideTrust({[](const std::wstring&) { return std::wstring(L"C:\\catroot\\nt5.cat"); },
                   verify(TRUST_E_NOSIGNATURE, ERROR_SUCCESS)});
    const Signature listed = checker.Check(Unsigned);
    EXPECT_EQ(listed.state, SignatureState::Verified);
    EXPECT_TRUE(listed.catalog);
    EXPECT_EQ(listed.signer, L"Microsoft Windows");
    EXPECT_EQ(catalogsAsked.back(), L"C:\\catroot\\nt5.cat");
    OverrideTrust({[](const std::wstring&) { return std::wstring(L"C:\\catroot\\nt5.cat"); },
                   verify(TRUST_E_NOSIGNATURE, CERT_E_REVOKED)});
    EXPECT_EQ(checker.Check(Unsigned).problem, TrustProblem::Revoked);
    OverrideTrust({nullptr, verify(CRYPT_E_REVOCATION_OFFLINE, ERROR_SUCCESS)});
    EXPECT_EQ(checker.Check(Sample(L"vendor.exe")).signer, L"Microsoft Windows")
        << "no revocation list in the cache: the signature holds as far as can be told";
    OverrideTrust(
        {[](const std::wstring&) { return std::wstring(); }, verify(TRUST_E_NOSIGNATURE, ERROR_SUCCESS)});
    EXPECT_EQ(checker.Check(Unsigned).state, SignatureState::Unsigned) << "no catalog lists it";
    OverrideTrust({});
    EXPECT_EQ(ProblemOfCode(CERT_E_EXPIRED), TrustProblem::Expired);
    EXPECT_EQ(ProblemOfCode(TRUST_E_FAIL), TrustProblem::Other);
}
