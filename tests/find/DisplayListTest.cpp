// What the list shows: sort by any column both ways, filter on any cell, the model untouched.
#include "find/DisplayList.h"
#include "support/Fixtures.h"

namespace {

std::vector<std::wstring> ShownNames(const StartupList& list, const FileFactsTable& facts,
                                     const DisplayList& display)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < display.Count(); ++i)
        names.push_back(CellText(list, facts, display.Position(i), TaskName));
    return names;
}

class DisplayListTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        list.AppendRow({L"  beta ", L"Enabled", L"Registry(User Run)", L"Current User",
                        L"Current User logs On", L"b.exe"});
        list.AppendRow(
            {L"Alpha", L"Disabled", L"StartUp (All Users)", L"All Users", L"Any User Logs On", L"a.exe"});
        list.AppendRow({L"gamma", L"Enabled", L"Win.ini Run", L"All users", L"Any User Logs On", L"c.exe"});
        facts.TakeUnasked(list);
        facts.Store(L"a.exe", {FileFacts::State::Found, L"C:\\a.exe", L"Zeta Works"});
        facts.Store(L"b.exe", {FileFacts::State::Found, L"C:\\b.exe", L"Acme"});
        facts.Store(L"c.exe", {FileFacts::State::Missing, L"", L""});
    }
    StartupList list;
    FileFactsTable facts;
    DisplayList display;
};

} // namespace

TEST_F(DisplayListTest, AHeaderClickSortsUpTheNextTurnsRoundTheModelKeepsItsOrder)
{
    display.sort = NextSortOrder(display.sort, TaskName);
    display.Update(list, facts);
    // Without regard to case, and the blanks kept around a registry name do not count.
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
    EXPECT_EQ(display.IndexOf(1), 1);
    display.sort = NextSortOrder(display.sort, TaskName);
    display.Update(list, facts);
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"gamma", L"beta", L"Alpha"}));

    display.sort = NextSortOrder(display.sort, PublisherColumn);
    EXPECT_FALSE(display.sort.descending) << "another column starts upwards";
    display.Update(list, facts);
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"gamma", L"beta", L"Alpha"}));
    // Equal Status texts keep the order the rows were added in, either way round.
    display.sort = {Status, true};
    display.Update(list, facts);
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"beta", L"gamma", L"Alpha"}));

    EXPECT_EQ(testsupport::RowTexts(list, TaskName),
              (std::vector<std::wstring>{L"  beta ", L"Alpha", L"gamma"}));
}

TEST_F(DisplayListTest, TheFilterKeepsRowsWithACellThatHoldsTheTextInAnyCase)
{
    display.sort = {TaskName, false};
    display.filter = L"ACME"; // the Publisher column
    display.Update(list, facts);
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"beta"}));
    EXPECT_EQ(display.IndexOf(2), -1);
    display.filter = L"any user";
    display.Update(list, facts);
    EXPECT_EQ(ShownNames(list, facts, display), (std::vector<std::wstring>{L"Alpha", L"gamma"}));
    display.filter = L"nothing like it";
    display.Update(list, facts);
    EXPECT_EQ(display.Count(), 0);
    display.filter.clear();
    display.Update(list, facts);
    EXPECT_EQ(display.Count(), 3);
}
