// The list model: positions from 1, the selected row through removals; where an entry stands.
#include "model/StartupList.h"
#include "model/StartupSource.h"

#include <gtest/gtest.h>

TEST(StartupListTest, RemovingRowsKeepsOrderAndTheSelectedRowAndStaysInsideTheList)
{
    StartupList list;
    for (auto [name, status] :
         {std::pair{L"a", L"Remove"}, {L"b", L"Enabled"}, {L"c", L"Remove"}, {L"d", L"Disabled"}})
        list.SetSubItem(list.Append(name), Status, status);
    list.Select(4);
    // Each row's record goes with it, whatever the record's own Status says.
    std::vector<StartupEntry> records(4);
    for (size_t k = 0; k < records.size(); ++k)
    {
        records[k][TaskName] = L"record " + list.Text(static_cast<int>(k) + 1, TaskName);
        records[k][Status] = L"Remove";
    }
    list.RemoveRowsWithStatus(L"Remove", records);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(1, TaskName) + list.Text(2, TaskName) + list.Text(2, Status), L"bdDisabled");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0][TaskName] + records[1][TaskName], L"record brecord d");
    EXPECT_EQ(list.Selected(), 2); // still the same row
    list.Select(1);
    list.SetSubItem(1, Status, L"Remove");
    list.RemoveRowsWithStatus(L"Remove", records);
    EXPECT_TRUE(records.size() == 1 && records[0][TaskName] == L"record d");
    EXPECT_EQ(list.Selected(), 0); // the selected row itself is gone

    list.Select(1);
    EXPECT_FALSE(list.Remove(0) || list.Remove(2)) << "rows 0 and 2 of one";
    list.Select(5);
    EXPECT_EQ(list.Selected(), 0);
    list.SetSubItem(9, Status, L"x");         // no such row: nothing happens
    list.SetSubItem(1, TaskName, L"renamed"); // column 0 is not a sub-item
    EXPECT_EQ(list.Text(1, TaskName), L"d");
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Count(), 0);
    StartupList empty; // it has no row 0 to mark: marking one writes nowhere
    empty.SetDisabledByWindows(0, true), empty.SetAlsoStored(0, true);
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
