// /delay and /undelay: each answer and exit code, the delay in /list and /list /json, and every
// bad number of seconds refused in one line.
#include "ConsoleFixture.h"

namespace
{

using namespace consoletest;
using DelayConsoleTest = ConsoleTest;

} // namespace

TEST_F(DelayConsoleTest, DelayAndUndelayApplyAtOnceAndTheListsShowTheDelay)
{
    SeedPlace(user, L"Alpha", L"C:\\a.exe");
    SeedPlace(PlaceOf(L"Registry(User RunOnce)"), L"Once", L"C:\\o.exe");
    Outcome r = Run(L"/delay alpha /from user-run");
    EXPECT_EQ(r.code, ExitDone) << r.err;
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"<missing>");
    EXPECT_EQ(Run(L"/delay Alpha").out, L"Alpha is delayed already by 30 s: nothing to apply.\r\n");
    EXPECT_EQ(Run(L"/delay Alpha /seconds 90").code, ExitDone);
    const std::wstring csv = Run(L"/list").out;
    EXPECT_TRUE(Has(csv, L"Alpha,\"Delayed (90 s, 1)\",Registry(User Run)")) << csv;
    EXPECT_TRUE(Has(Run(L"/list /json").out,
                    L"\"status\": \"Delayed (90 s, 1)\", \"state\": \"delayed\", \"delaySeconds\": 90, "
                    L"\"delayOrder\": 1, "));

    r = Run(L"/delay Once");
    EXPECT_EQ(r.code, ExitNotSafe);
    EXPECT_TRUE(Has(r.err, L"Once cannot be delayed: Windows deletes an entry of")) << r.err;
    EXPECT_EQ(Run(L"/undelay Once").out, L"Once is not delayed: nothing to apply.\r\n");
    EXPECT_EQ(Run(L"/undelay Alpha").code, ExitDone);
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"C:\\a.exe");
    EXPECT_EQ(Run(L"/undelay Nothing").code, ExitNoEntry);
}

TEST_F(DelayConsoleTest, EveryBadNumberOfSecondsIsOneLineAndChangesNothing)
{
    SeedPlace(user, L"Alpha", L"C:\\a.exe");
    for (const wchar_t* seconds : {L"0", L"-5", L"ten", L"86401", L"99999999999", L"\"\""})
    {
        const Outcome r = Run(std::wstring(L"/delay Alpha /seconds ") + seconds);
        EXPECT_EQ(r.code, ExitBadUsage) << seconds;
        EXPECT_TRUE(Has(r.err, L"/seconds takes a whole number of seconds from 1 to 86400")) << r.err;
        EXPECT_EQ(r.err.find(L"\r\n"), r.err.rfind(L"\r\n", r.err.size() - 3)) << "one line and the pointer";
    }
    EXPECT_EQ(Run(L"/undelay Alpha /seconds 5").code, ExitBadUsage);
    EXPECT_EQ(ReadPlace(user, L"Alpha"), L"C:\\a.exe");
}
