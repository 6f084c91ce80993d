// Below the window: each file's signature checked once while it stays as it was, the answers kept
// across starts in a cache file that no bad content breaks; entries judged by the DLL their
// program runs; the rules of the Signer column.
#include "find/FactsWorker.h"
#include "find/FileTrust.h"
#include "find/ServiceDisplay.h"
#include "find/TrustDisplay.h"
#include "platform/Text.h"
#include "support/Fixtures.h"
#include "support/Processes.h"

#include <map>
#include <mutex>

using platform::SignatureState;

class TrustTest : public testsupport::RavelinTest
{
  protected:
    void SetUp() override
    {
        RavelinTest::SetUp();
        UseSystemTrust();
        cache = programFolder + L"\\Signatures.cache";
    }
    void TearDown() override
    {
        platform::OverrideTrust({});
        RavelinTest::TearDown();
    }
    // A copy of a sample the build signed, in this test's folder.
    std::wstring Copy(const std::wstring& sample, const std::wstring& name)
    {
        const std::wstring copy = programFolder + L"\\" + name;
        EXPECT_TRUE(CopyFileW((testsupport::BuildFolder() + L"\\tests\\trust\\" + sample).c_str(),
                              copy.c_str(), FALSE));
        return copy;
    }
    // From now on every check is counted, by file, and holds.
    void CountChecks()
    {
        platform::OverrideTrust(
            {nullptr, [this](const std::wstring& file, const std::wstring&, std::wstring& signer) {
                 std::lock_guard lock(mutex);
                 ++checks[platform::FoldCase(file)];
                 signer = L"Counted Signer";
                 return LONG(ERROR_SUCCESS);
             }});
    }
    int Checks(const std::wstring& file)
    {
        std::lock_guard lock(mutex);
        return checks[platform::FoldCase(file)];
    }
    std::wstring cache;
    std::mutex mutex;
    std::map<std::wstring, int> checks;
};

TEST_F(TrustTest, OneFileNamedBySeveralEntriesIsCheckedOnce)
{
    const std::wstring a = Copy(L"vendor.exe", L"a.exe"), b = Copy(L"vendor.exe", L"b.exe");
    CountChecks();
    const platform::UniqueHandle told(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    HANDLE event = told.get();
    FactsWorker worker([event] { SetEvent(event); }, cache);
    worker.Ask(
        {L"\"" + a + L"\" /one", a + L" /two", L"\"" + platform::FoldCase(a) + L"\"", L"\"" + b + L"\""});
    size_t facts = 0, signatures = 0;
    while (facts < 4 || signatures < 2)
    {
        ASSERT_EQ(WaitForSingleObject(event, 30000), WAIT_OBJECT_0);
        const FactsAnswers got = worker.TakeAnswers();
        facts += got.facts.size(), signatures += got.signatures.size();
    }
    EXPECT_TRUE(Checks(a) == 1 && Checks(b) == 1 && signatures == 2);
}

TEST_F(TrustTest, TheCacheKnowsAFileAcrossStartsUntilTheFileChanges)
{
    const std::wstring a = Copy(L"vendor.exe", L"a.exe");
    CountChecks();
    {
        TrustJudge first(cache);
        EXPECT_FALSE(first.Known(a));
        EXPECT_EQ(first.Check(a).signer, L"Counted Signer");
        EXPECT_EQ(first.Save(), ERROR_SUCCESS);
    }
    TrustJudge second(cache);
    ASSERT_TRUE(second.Known(a));
    EXPECT_EQ(second.Known(a)->signer, L"Counted Signer");
    EXPECT_EQ(Checks(a), 1) << "known from the cache, not checked again";
    EXPECT_EQ(second.Known(a + L".gone")->state, SignatureState::FileMissing);

    // Changed in place, of the same size: only its last write tells.
    std::string bytes = testsupport::ReadBytes(a);
    bytes[0] ^= 1;
    testsupport::WriteBytes(a, bytes);
    EXPECT_FALSE(second.Known(a));
    EXPECT_TRUE(second.Unsaved());
    EXPECT_EQ(second.Save(), ERROR_SUCCESS);
    EXPECT_FALSE(TrustJudge(cache).Known(a)) << "dropped from the file too";
}

TEST_F(TrustTest, ABrokenCacheIsPassedOverAndTwoWritersKeepEachOthersAnswers)
{
    const std::wstring a = Copy(L"vendor.exe", L"a.exe"), b = Copy(L"stranger.exe", L"b.exe");
    TrustJudge one(cache), two(cache);
    one.Check(a);
    two.Check(b);
    ASSERT_EQ(one.Save(), ERROR_SUCCESS);
    ASSERT_EQ(two.Save(), ERROR_SUCCESS);
    const std::string whole = testsupport::ReadBytes(cache);
    TrustJudge both(cache);
    ASSERT_TRUE(both.Known(a) && both.Known(b));
    EXPECT_EQ(both.Known(b)->signer, L"Quickfix Utilities");

    // Cut anywhere, or garbage: what can be read is read right, the rest is checked again.
    for (size_t cut = 0; cut < whole.size(); cut += 7)
    {
        testsupport::WriteBytes(cache, whole.substr(0, cut) + (cut % 2 ? "\xff\xfe\t\t\r\n\t" : ""));
        TrustJudge judge(cache);
        const std::optional<platform::Signature> known = judge.Known(a);
        EXPECT_TRUE(!known || known->signer == L"SyncDrive Software") << cut;
    }
    platform::RemoveFile(cache, true);
    CreateDirectoryW(cache.c_str(), nullptr);
    EXPECT_FALSE(TrustJudge(cache).Known(a)) << "a folder in its place";
}

TEST_F(TrustTest, SvchostAndRundll32EntriesAreJudgedByTheirDll)
{
    const std::wstring dll = Copy(L"vendor.exe", L"hosted.dll");
    ServiceList services;
    services.Append({});
    ServiceRow& service = services.Row(1);
    service.imagePath = L"%SystemRoot%\\System32\\svchost.exe -k netsvcs";
    service.serviceDll = dll;
    FileFactsTable table;
    for (const std::wstring& line : {ServiceQuestion(service), L"rundll32.exe \"" + dll + L"\",Entry"})
    {
        table.Store(line, ResolveFileFacts(line));
        JudgeFiles(table, true);
        const FileFacts* facts = table.Find(line);
        ASSERT_TRUE(facts && facts->hosted);
        EXPECT_EQ(facts->file, dll);
        EXPECT_EQ(SignerText(facts, table), L"SyncDrive Software");
    }
    EXPECT_EQ(ServiceCellText(services, table, 1, ServiceLocation),
              L"%SystemRoot%\\System32\\svchost.exe -k netsvcs  (file: " + dll + L")");
    // svchost runs the DLL only of its own services; a missing DLL is a missing file.
    service.imagePath = L"\"" + dll + L"\"";
    EXPECT_EQ(ServiceQuestion(service), service.imagePath);
    EXPECT_EQ(ResolveFileFacts(HostedQuestion(L"svchost.exe -k x", dll + L".gone")).state,
              FileFacts::State::Missing);
}

TEST(TrustRulesTest, WindowsOwnEntriesAndSignersWhoAreNotThePublisher)
{
    EXPECT_TRUE(SameCompany(L"Microsoft Windows", L"Microsoft Corporation") &&
                SameCompany(L"ACME, Inc.", L"acme") && SameCompany(L"Google LLC", L"Google Inc."));
    EXPECT_FALSE(SameCompany(L"Quickfix Utilities", L"SyncDrive Software") ||
                 SameCompany(L"Acmeware", L"Acme"));

    FileFactsTable table;
    const std::wstring inWindows = platform::GetWindowsFolder() + L"\\system32\\x.exe",
                       outside = L"C:\\Tools\\x.exe";
    platform::Signature microsoft;
    microsoft.state = SignatureState::Verified;
    microsoft.signer = L"Microsoft Windows";
    table.StoreSignature(inWindows, microsoft);
    table.StoreSignature(outside, microsoft);
    const FileFacts windows{FileFacts::State::Found, inWindows, L"Microsoft Corporation"},
        tool{FileFacts::State::Found, outside, L"Keystone Security"};
    EXPECT_TRUE(IsWindowsEntry(&windows, table));
    EXPECT_FALSE(IsWindowsEntry(&tool, table)) << "outside the Windows folder";
    EXPECT_TRUE(SignerDiffers(&tool, table));
    microsoft.state = SignatureState::NotVerified;
    table.StoreSignature(inWindows, microsoft);
    EXPECT_FALSE(HiddenByTrust({true, true}, &windows, table) || SignerDiffers(&windows, table))
        << "a signature that does not hold";
}
