// The list model: positions from 1, the selected row through removals; where an entry stands.
#include "model/StartupList.h"
#include "model/StartupSource.h"

#include <gtest/gtest.h>

TEST(StartupListTest, RemovingRowsKeepsOrderAndTheSelectedRowAndStaysInsideTheList)
{
    using enum EntryState;
    StartupList list;
    for (auto [name, state] : {std::pair{L"a", Remove}, {L"b", Enabled}, {L"c", Remove}, {L"d", Disabled}})
        list.SetState(list.Append(ScannedEntry(0, name, L"")), state);
    list.Select(4);
    // Each row's record goes with it, whatever the record's own state says.
    std::vector<StartupEntry> records(4);
    for (size_t k = 0; k < records.size(); ++k)
    {
        records[k].name = L"record " + list.Row(static_cast<int>(k) + 1).name;
        records[k].state = Remove;
    }
    list.RemoveRowsIn(Remove, records);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Row(1).name + list.Row(2).name, L"bd");
    EXPECT_EQ(list.State(2), Disabled);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name + records[1].name, L"record brecord d");
    EXPECT_EQ(list.Selected(), 2); // still the same row
    list.Select(1);
    list.SetState(1, Remove);
    list.RemoveRowsIn(Remove, records);
    EXPECT_TRUE(records.size() == 1 && records[0].name == L"record d");
    EXPECT_EQ(list.Selected(), 0); // the selected row itself is gone

    list.Select(1);
    EXPECT_FALSE(list.Remove(0) || list.Remove(2)) << "rows 0 and 2 of one";
    list.Select(5);
    EXPECT_EQ(list.Selected(), 0);
    list.SetState(9, Remove); // no such row: nothing happens
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Count(), 0);
    StartupList empty; // it has no row 0 to mark: marking one writes nowhere
    empty.SetDisabledByWindows(0, true), empty.SetAlsoStored(0, true), empty.SetState(0, Remove);
}

TEST(StartupListTest, ARowShowsTheWordsOfItsStateAndPlaceAndAnUnknownPlaceAsItWasRead)
{
    ListWords words = LoadListWords(true);
    words.states[static_cast<size_t>(EntryState::Disabled)] = L"Off";
    words.offButStarts = L"On, switch ignored";
    StartupEntry row = ScannedEntry(SourceIndexOf(L"StartUp (All Users)", {}), L"  Tool ", L"C:\\t.exe");
    auto texts = [&] {
        std::wstring all;
        for (int column = 0; column < ColumnCount; ++column)
            all += RowText(row, column, words) + L"|";
        return all;
    };
    EXPECT_EQ(texts(), L"Tool|Enabled|StartUp (All Users)|All Users|Any User Logs On|C:\\t.exe|");
    // Switched off by Windows where that is ignored: it starts, and says so to people, not to files.
    row.switchOffIgnored = true;
    words.switchIgnored = true;
    EXPECT_EQ(RowText(row, Status, words), L"On, switch ignored");
    words.switchIgnored = false;
    EXPECT_EQ(RowText(row, Status, words), L"Enabled");
    words.switchIgnored = true;
    row.state = EntryState::Disabled; // disabled by the user, as any other
    EXPECT_EQ(RowText(row, Status, words), L"Off");
    row.switchOffIgnored = false;
    row.disabledByWindows = true; // where Windows honours its switch
    EXPECT_EQ(RowText(row, Status, words), L"Off");
    row.added = true;
    row.source = UnknownSource;
    row.unknownPlace = std::make_shared<const std::array<std::wstring, 3>>(
        std::array<std::wstring, 3>{L"Elsewhere", L"Someone", L"Sometimes"});
    row.disabledByWindows = false;
    EXPECT_EQ(texts(), L"Tool|Off|Elsewhere|All Users||C:\\t.exe|");
    row.added = false;
    EXPECT_EQ(texts(), L"Tool|Off|Elsewhere|Someone|Sometimes|C:\\t.exe|");
}

TEST(StartupListTest, ARunOnceExEntryIsAValueOfItsSectionWhateverTheSectionsLength)
{
    const StartupSource& ex =
        StartupSources[static_cast<size_t>(SourceIndexOf(L"Registry(Machine RunOnceEx)", {}))];
    const RegistryAddress step = AddressOf(ex, L"1\\Step"), bare = AddressOf(ex, L"\\Step");
    EXPECT_EQ(step.keyPath + L"|" + step.valueName + L"|" + bare.keyPath + L"|" + bare.valueName,
              L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx\\1|Step|"
              L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx|\\Step");
}
