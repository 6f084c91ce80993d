// Cell texts, sort order and filter of the displayed list.
#include "find/DisplayList.h"
#include "platform/Text.h"

#include <algorithm>

const FileFacts* FactsOfRow(const StartupList& list, const FileFactsTable& facts, int position)
{
    return facts.Find(list.Row(position).location);
}

std::optional<EntryImpact> ImpactOfRow(const StartupList& list, const FileFactsTable& facts, int position)
{
    const bool disabled = list.State(position) == EntryState::Disabled;
    const FileFacts* known = FactsOfRow(list, facts, position);
    if (!facts.Impact() || (!known && !disabled))
        return std::nullopt;
    const bool found = known && known->state == FileFacts::State::Found;
    return ImpactOf(*facts.Impact(), found ? known->file : std::wstring(), disabled);
}

std::wstring CellText(const StartupList& list, const ListWords& words, const FileFactsTable& facts,
                      int position, int column)
{
    const FileFacts* known = FactsOfRow(list, facts, position);
    switch (column)
    {
    case PublisherColumn:
        return known ? known->publisher : std::wstring();
    case SignerColumn:
        return SignerText(known, facts);
    case ImpactColumn: {
        const std::optional<EntryImpact> impact = ImpactOfRow(list, facts, position);
        return impact ? ImpactWord(impact->impact) : std::wstring();
    }
    case Location:
        return LocationText(list.Row(position).location, known);
    }
    return RowText(list.Row(position), column, words);
}

SortOrder NextSortOrder(SortOrder current, int clickedColumn)
{
    if (current.column == clickedColumn)
        return {clickedColumn, !current.descending};
    return {clickedColumn, false};
}

int DisplayList::Update(const StartupList& list, const ListWords& words, const FileFactsTable& facts,
                        const TrustHiding& hiding)
{
    int hidden = 0;
    Update(
        list.Count(), ShownColumnCount,
        [&](int row, int column) { return CellText(list, words, facts, row, column); },
        [&](int row) { return HiddenByTrust(hiding, FactsOfRow(list, facts, row), facts) && ++hidden > 0; },
        [&](int row, int column) -> std::optional<std::string> {
            if (column != ImpactColumn)
                return std::nullopt;
            // By class, from none to high, then by CPU time: not by the class's word.
            const std::optional<EntryImpact> impact = ImpactOfRow(list, facts, row);
            if (!impact)
                return std::string();
            const ULONGLONG cpu = impact->figures ? impact->figures->cpuMicroseconds : 0;
            std::string key(1, static_cast<char>('A' + static_cast<int>(impact->impact)));
            for (int shift = 56; shift >= 0; shift -= 8)
                key += static_cast<char>((cpu >> shift) & 0xFF);
            return key;
        });
    return hidden;
}

void DisplayList::Update(int count, int columns, const Cells& cell,
                         const std::function<bool(int row)>& hidden, const SortKeys& sortKey)
{
    positions_.clear();
    const std::wstring wanted = platform::FoldCase(filter);
    for (int row = 1; row <= count; ++row)
    {
        if (hidden && hidden(row))
            continue;
        bool shown = wanted.empty();
        for (int column = 0; column < columns && !shown; ++column)
            shown = platform::FoldCase(cell(row, column)).find(wanted) != std::wstring::npos;
        if (shown)
            positions_.push_back(row);
    }
    if (sort.column >= 0 && sort.column < columns)
    {
        std::vector<std::string> keys(static_cast<size_t>(count) + 1);
        for (int row : positions_)
        {
            std::optional<std::string> key = sortKey ? sortKey(row, sort.column) : std::nullopt;
            keys[static_cast<size_t>(row)] =
                key ? std::move(*key) : platform::SortKey(cell(row, sort.column));
        }
        // Stable, so rows of equal text keep the order they were added in, either way round.
        std::stable_sort(positions_.begin(), positions_.end(), [&](int a, int b) {
            const std::string &ka = keys[static_cast<size_t>(a)], &kb = keys[static_cast<size_t>(b)];
            return sort.descending ? kb < ka : ka < kb;
        });
    }
    indexes_.assign(static_cast<size_t>(count), -1);
    for (size_t i = 0; i < positions_.size(); ++i)
        indexes_[static_cast<size_t>(positions_[i] - 1)] = static_cast<int>(i);
}

int DisplayList::Position(int index) const
{
    return index >= 0 && index < Count() ? positions_[static_cast<size_t>(index)] : 0;
}

int DisplayList::IndexOf(int position) const
{
    return position >= 1 && position <= static_cast<int>(indexes_.size())
               ? indexes_[static_cast<size_t>(position - 1)]
               : -1;
}
