// Reading an earlier list, comparing it with this one, and writing the differences.
#include "console/ListCompare.h"
#include "find/ListExport.h"
#include "i18n/Keys.h"
#include "i18n/Lookup.h"
#include "platform/Text.h"
#include "staging/EntryFile.h"

#include <cwctype>
#include <map>

namespace
{

// Just enough JSON for a list: objects whose values are strings, numbers, true, false or null.
class JsonReader
{
  public:
    explicit JsonReader(std::wstring_view text) : text_(text) {}

    std::optional<std::vector<ListedEntry>> List()
    {
        std::vector<ListedEntry> entries;
        if (!Take(L'['))
            return std::nullopt;
        if (!Take(L']'))
        {
            do
            {
                std::optional<ListedEntry> entry = Object();
                if (!entry)
                    return std::nullopt;
                entries.push_back(std::move(*entry));
            } while (Take(L','));
            if (!Take(L']'))
                return std::nullopt;
        }
        Blanks();
        return at_ == text_.size() ? std::optional(std::move(entries)) : std::nullopt;
    }

  private:
    std::optional<ListedEntry> Object()
    {
        ListedEntry entry;
        bool named = false, placed = false;
        if (!Take(L'{'))
            return std::nullopt;
        if (Take(L'}'))
            return std::nullopt;
        do
        {
            std::optional<std::wstring> key = String();
            if (!key || !Take(L':'))
                return std::nullopt;
            std::optional<std::wstring> value;
            Blanks();
            if (at_ < text_.size() && text_[at_] == L'"')
            {
                if (!(value = String()))
                    return std::nullopt;
            }
            else if (!Word())
                return std::nullopt;
            std::wstring* field = *key == L"taskName"   ? &entry.taskName
                                  : *key == L"status"   ? &entry.status
                                  : *key == L"state"    ? &entry.state
                                  : *key == L"loadFrom" ? &entry.loadFrom
                                  : *key == L"location" ? &entry.location
                                                        : nullptr;
            if (field && value)
                *field = std::move(*value);
            named = named || (*key == L"taskName" && value);
            placed = placed || (*key == L"loadFrom" && value);
        } while (Take(L','));
        if (!Take(L'}') || !named || !placed)
            return std::nullopt;
        return entry;
    }

    std::optional<std::wstring> String()
    {
        if (!Take(L'"'))
            return std::nullopt;
        std::wstring out;
        while (at_ < text_.size() && text_[at_] != L'"')
        {
            wchar_t c = text_[at_++];
            if (c < 0x20)
                return std::nullopt;
            if (c == L'\\')
            {
                if (at_ >= text_.size())
                    return std::nullopt;
                const wchar_t e = text_[at_++];
                const std::wstring_view named = L"\"\\/bfnrt", meant = L"\"\\/\b\f\n\r\t";
                if (const size_t k = named.find(e); k != std::wstring_view::npos)
                    c = meant[k];
                else if (e == L'u' && at_ + 4 <= text_.size() &&
                         text_.substr(at_, 4).find_first_not_of(L"0123456789abcdefABCDEF") ==
                             std::wstring_view::npos)
                {
                    c = static_cast<wchar_t>(
                        std::wcstoul(std::wstring(text_.substr(at_, 4)).c_str(), nullptr, 16));
                    at_ += 4;
                }
                else
                    return std::nullopt;
            }
            out += c;
        }
        if (!Take(L'"'))
            return std::nullopt;
        return out;
    }

    // A number, true, false or null: not needed, only passed over.
    bool Word()
    {
        const size_t start = at_;
        while (at_ < text_.size() &&
               (std::iswalnum(text_[at_]) || text_[at_] == L'-' || text_[at_] == L'+' || text_[at_] == L'.'))
            ++at_;
        return at_ > start;
    }

    void Blanks()
    {
        while (at_ < text_.size() && (text_[at_] == L' ' || text_[at_] == L'\t' || text_[at_] == L'\r' ||
                                      text_[at_] == L'\n' || text_[at_] == 0xFEFF))
            ++at_;
    }

    bool Take(wchar_t c)
    {
        Blanks();
        if (at_ >= text_.size() || text_[at_] != c)
            return false;
        ++at_;
        return true;
    }

    std::wstring_view text_;
    size_t at_ = 0;
};

// The state, or the Status where no state was given.
const std::wstring& Standing(const ListedEntry& entry, bool states)
{
    return states ? entry.state : entry.status;
}

} // namespace

std::optional<std::vector<ListedEntry>> ReadListJson(std::wstring_view text)
{
    return JsonReader(text).List();
}

std::wstring DecodeListFile(const std::string& bytes)
{
    return platform::DecodeText(bytes, platform::IsUtf8(bytes) ? CP_UTF8 : CP_ACP);
}

std::vector<ListChange> CompareLists(const std::vector<ListedEntry>& before,
                                     const std::vector<ListedEntry>& now)
{
    FileWords places;
    auto key = [&](const ListedEntry& entry) {
        const int place = places.Source(entry.loadFrom);
        return (place >= 0 ? L"#" + platform::ToDecimal(place) : L"=" + entry.loadFrom) + L"\n" +
               platform::FoldCase(entry.taskName);
    };
    std::map<std::wstring, std::vector<const ListedEntry*>> earlier;
    for (const ListedEntry& entry : before)
        earlier[key(entry)].push_back(&entry);
    auto differ = [](const ListedEntry& a, const ListedEntry& b) {
        const bool states = !a.state.empty() && !b.state.empty();
        return Standing(a, states) != Standing(b, states) || a.location != b.location;
    };
    std::vector<ListChange> changes;
    std::vector<const ListedEntry*> unpaired;
    for (const ListedEntry& entry : now)
    {
        std::vector<const ListedEntry*>& same = earlier[key(entry)];
        auto match = same.begin();
        while (match != same.end() && differ(**match, entry))
            ++match;
        if (match != same.end())
            same.erase(match);
        else
            unpaired.push_back(&entry);
    }
    // What is left of a name and place pairs in order as changed; the rest are new or gone.
    for (const ListedEntry* entry : unpaired)
    {
        std::vector<const ListedEntry*>& same = earlier[key(*entry)];
        if (same.empty())
            changes.push_back({ListChange::New, *entry, {}});
        else
        {
            changes.push_back({ListChange::Changed, *entry, *same.front()});
            same.erase(same.begin());
        }
    }
    for (const ListedEntry& entry : before)
    {
        std::vector<const ListedEntry*>& left = earlier[key(entry)];
        for (auto it = left.begin(); it != left.end(); ++it)
            if (*it == &entry)
            {
                changes.push_back({ListChange::Gone, {}, entry});
                left.erase(it);
                break;
            }
    }
    return changes;
}

std::wstring ChangesText(const std::vector<ListChange>& changes)
{
    std::wstring text;
    for (const ListChange& change : changes)
    {
        const ListedEntry& e = change.kind == ListChange::Gone ? change.before : change.now;
        const keys::KeyText& line = change.kind == ListChange::New    ? keys::CompareNew
                                    : change.kind == ListChange::Gone ? keys::CompareGone
                                                                      : keys::CompareChanged;
        text += FormatText(LookupText(line), {e.taskName, e.loadFrom, e.status, e.location,
                                              change.before.status, change.before.location}) +
                L"\r\n";
    }
    return text;
}

std::wstring ChangesJson(const std::vector<ListChange>& changes)
{
    auto side = [](const ListedEntry& e, bool present) {
        if (!present)
            return std::wstring(L"null");
        return L"{\"status\": " + JsonString(e.status) + L", \"state\": " +
               (e.state.empty() ? std::wstring(L"null") : JsonString(e.state)) + L", \"location\": " +
               JsonString(e.location) + L"}";
    };
    constexpr const wchar_t* Kinds[] = {L"new", L"gone", L"changed"};
    std::wstring out = L"[";
    for (size_t i = 0; i < changes.size(); ++i)
    {
        const ListChange& c = changes[i];
        const ListedEntry& e = c.kind == ListChange::Gone ? c.before : c.now;
        out += (i ? L",\r\n  {" : L"\r\n  {") + std::wstring(L"\"change\": ") + JsonString(Kinds[c.kind]) +
               L", \"taskName\": " + JsonString(e.taskName) + L", \"loadFrom\": " + JsonString(e.loadFrom) +
               L", \"now\": " + side(c.now, c.kind != ListChange::Gone) + L", \"before\": " +
               side(c.before, c.kind != ListChange::New) + L"}";
    }
    return out + (changes.empty() ? L"]\r\n" : L"\r\n]\r\n");
}
