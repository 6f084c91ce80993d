// What the list shows: the columns with Publisher and Signer, the cell texts, and which rows show in which
// order. Sorting and filtering only permute the display: the model keeps the order rows were
// added, which the store, the profiles, the baseline and the apply engine address rows by.
#pragma once
#include "model/StartupList.h"
#include "model/StartupSource.h"
#include "find/FileFacts.h"
#include "find/TrustDisplay.h"
#include "i18n/Keys.h"

#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int PublisherColumn = ColumnCount;
inline constexpr int SignerColumn = ColumnCount + 1;
inline constexpr int ImpactColumn = ColumnCount + 2;
inline constexpr int ShownColumnCount = ColumnCount + 3;

static_assert(std::size(keys::ColumnHeaders) == ShownColumnCount, "a header key for every shown column");

// The facts of a row's file; null while they are not known.
const FileFacts* FactsOfRow(const StartupList& list, const FileFactsTable& facts, int position);
// What the row's entry costs the logon; none while the record or the row's file is not known.
std::optional<EntryImpact> ImpactOfRow(const StartupList& list, const FileFactsTable& facts, int position);
// The text a cell shows, in words: the Task Name without the blanks around it, Publisher and
// Signer from the facts, the Location with the DLL that judges the entry beside it.
std::wstring CellText(const StartupList& list, const ListWords& words, const FileFactsTable& facts,
                      int position, int column);

struct SortOrder
{
    int column = -1; // -1: the order rows were added
    bool descending = false;
};
// A click on a column header: a new column sorts up, the sorted one turns round.
SortOrder NextSortOrder(SortOrder current, int clickedColumn);

class DisplayList
{
  public:
    SortOrder sort;
    std::wstring filter; // rows with a cell that holds it, without regard to case

    // Works out again which rows show, in which order; returns how many the boxes hide.
    int Update(const StartupList& list, const ListWords& words, const FileFactsTable& facts,
               const TrustHiding& hiding = {});
    // The same for any table of rows 1 to count whose cell(row, column) are the texts of columns 0
    // to columns - 1; a row for which hidden(row) holds does not show, whatever the filter.
    using Cells = std::function<std::wstring(int row, int column)>;
    // sortKey(row, column), when given, orders the rows of the columns it gives a key for (the
    // others by their texts); in keys compared byte by byte.
    using SortKeys = std::function<std::optional<std::string>(int row, int column)>;
    void Update(int count, int columns, const Cells& cell, const std::function<bool(int row)>& hidden = {},
                const SortKeys& sortKey = {});
    int Count() const { return static_cast<int>(positions_.size()); }
    // Model position of the row shown at index, from 0.
    int Position(int index) const;
    // Index at which a model position shows; -1 when it does not.
    int IndexOf(int position) const;

  private:
    std::vector<int> positions_;
    std::vector<int> indexes_; // by position - 1
};
