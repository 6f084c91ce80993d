// The list model: positions from 1, the selected row through removals.
#include "model/StartupList.h"

#include <gtest/gtest.h>

TEST(StartupListTest, RemovingRowsKeepsOrderAndTheSelectedRowAndStaysInsideTheList)
{
    StartupList list;
    for (auto [name, status] :
         {std::pair{L"a", L"Remove"}, {L"b", L"Enabled"}, {L"c", L"Remove"}, {L"d", L"Disabled"}})
        list.SetSubItem(list.Append(name), Status, status);
    list.Select(4);
    EXPECT_EQ(list.RemoveRowsWithStatus(L"Remove"), (std::vector<bool>{false, true, false, true}));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Text(1, TaskName) + list.Text(2, TaskName) + list.Text(2, Status), L"bdDisabled");
    EXPECT_EQ(list.Selected(), 2); // still the same row
    list.Select(1);
    list.SetSubItem(1, Status, L"Remove");
    list.RemoveRowsWithStatus(L"Remove");
    EXPECT_EQ(list.Selected(), 0); // the selected row itself is gone

    list.Select(1);
    EXPECT_FALSE(list.Remove(0));
    EXPECT_FALSE(list.Remove(2));
    list.Select(5);
    EXPECT_EQ(list.Selected(), 0);
    list.SetSubItem(9, Status, L"x");         // no such row: nothing happens
    list.SetSubItem(1, TaskName, L"renamed"); // column 0 is not a sub-item
    EXPECT_EQ(list.Text(1, TaskName), L"d");
    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Count(), 0);
}
