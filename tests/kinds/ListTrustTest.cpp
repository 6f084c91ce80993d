// What the lists of scripts say of each entry's file: its signer, its signature (pending until it is
// checked or known from the cache), its SHA-256; a hosted service judged by its DLL, a delayed
// start read from the service key.
#include "find/ListExport.h"
#include "kinds/ServiceKind.h"
#include "kinds/StartupKind.h"
#include "support/Processes.h"
#include "support/ServicesFixture.h"

namespace
{

bool Has(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

class ListTrustTest : public servicetest::ServicesTest
{
  protected:
    void SetUp() override
    {
        ServicesTest::SetUp();
        UseSystemTrust();
    }
    const std::wstring samples = testsupport::BuildFolder() + L"\\tests\\trust\\";
};

} // namespace

TEST_F(ListTrustTest, AStartupListSaysPendingUntilVerifiedThenKnowsTheAnswerFromTheCache)
{
    testsupport::SetRegString(HKEY_CURRENT_USER, testsupport::RunKey, L"Vendor",
                              L"\"" + samples + L"vendor.exe\" /x");
    testsupport::SetRegString(HKEY_CURRENT_USER, testsupport::RunKey, L"Changed", samples + L"tampered.exe");
    StartupKind startup;
    startup.Fill();
    const std::string summed = testsupport::ReadBytes(samples + L"vendor.exe.sha256").substr(0, 64);
    const std::wstring sha256(summed.begin(), summed.end());
    const std::wstring pending = startup.ListVerb(true, false, false).out;
    EXPECT_TRUE(Has(pending, L"\"publisher\": \"SyncDrive Software\", \"signer\": \"\", \"impact\": \"not "
                             L"measured\", \"cpuMs\": null, \"diskBytes\": null, \"fileExists\": true, "
                             L"\"signature\": \"pending\", \"sha256\": \"" +
                                 sha256 + L"\", \"file\": " + JsonString(samples + L"vendor.exe") + L"}"))
        << pending;
    const std::wstring verified = startup.ListVerb(true, false, true).out;
    EXPECT_TRUE(Has(verified, L"\"signer\": \"SyncDrive Software\", \"impact\": \"not measured\", \"cpuMs\": "
                              L"null, \"diskBytes\": null, \"fileExists\": true, "
                              L"\"signature\": \"verified\""))
        << verified;
    EXPECT_TRUE(
        Has(verified,
            L"\"signer\": \"Not verified: changed after signing\", "
            L"\"impact\": \"not measured\", \"cpuMs\": null, \"diskBytes\": null, \"fileExists\": true, "
            L"\"signature\": \"notVerified\""));
    EXPECT_EQ(startup.ListVerb(true, false, false).out, verified) << "the answers kept for the next list";
    const std::wstring csv = startup.ListVerb(false, false, false).out;
    EXPECT_TRUE(
        Has(csv, L",SyncDrive Software,SyncDrive Software,Not measured,,,true,verified," + sha256 + L"\r\n"))
        << csv;
}

TEST_F(ListTrustTest, AHostedServiceIsJudgedByItsDllAndADelayedStartIsReadFromItsKey)
{
    platform::OverrideDelayedStart({}); // Wine's manager: its key says the delayed start
    made_.push_back(L"RavTestHosted" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring hosted = made_.back(), key = L"SYSTEM\\CurrentControlSet\\Services\\" + hosted;
    ASSERT_TRUE(servicetest::MakeService(hosted, servicetest::Automatic,
                                         L"C:\\windows\\system32\\svchost.exe -k ravtest"));
    testsupport::SetRegString(HKEY_LOCAL_MACHINE, key + L"\\Parameters", L"ServiceDll",
                              samples + L"stranger.exe");
    testsupport::SetRegBinary(HKEY_LOCAL_MACHINE, key, L"DelayedAutostart", REG_DWORD, {1, 0, 0, 0});
    ServiceKind services;
    const std::wstring json = services.ListVerb(true, false, true).out;
    const size_t at = json.find(L"\"name\": \"" + hosted + L"\"");
    ASSERT_NE(at, std::wstring::npos) << json;
    const std::wstring row = json.substr(at, json.find(L'}', at) - at);
    EXPECT_TRUE(Has(row, L"\"startType\": \"Automatic (Delayed Start)\"")) << row;
    EXPECT_TRUE(Has(row, L"\"location\": \"C:\\\\windows\\\\system32\\\\svchost.exe -k ravtest\"")) << row;
    EXPECT_TRUE(Has(row, L"\"publisher\": \"SyncDrive Software\", \"signer\": \"Quickfix Utilities\""))
        << row;
    EXPECT_TRUE(Has(row, L"\"signature\": \"verified\"") &&
                Has(row, L"\"file\": " + JsonString(samples + L"stranger.exe")))
        << row;
}
