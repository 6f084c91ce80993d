// The services view's rows: each Win32 service as the manager listed it, with the Status the user
// staged for it; the words of its start type and state.
#pragma once
#include "model/EntryState.h"
#include "platform/Services.h"

#include <string>
#include <vector>

struct ServiceRow : platform::ServiceInfo
{
    EntryState staged = EntryState::Enabled; // the state the user staged for it
    // Nothing is remembered of how it started before it was disabled: enabled as Automatic, not Manual.
    bool enableAutomatic = false;
};

class ServiceList
{
  public:
    int Count() const { return static_cast<int>(rows_.size()); }
    void Append(ServiceRow row) { rows_.push_back(std::move(row)); }
    const ServiceRow& Row(int position) const { return rows_[static_cast<size_t>(position - 1)]; }
    ServiceRow& Row(int position) { return rows_[static_cast<size_t>(position - 1)]; }
    // The position of the service of that key name, without regard to case; 0 when none has it.
    int FindName(const std::wstring& name) const;
    // The same, or else of the service of that display name.
    int Find(const std::wstring& name) const;
    void Clear();

    // 0 when no row is selected.
    int Selected() const { return selected_; }
    void Select(int position) { selected_ = position >= 1 && position <= Count() ? position : 0; }

  private:
    std::vector<ServiceRow> rows_;
    int selected_ = 0;
};

// The state a service's start gives it: disabled for a disabled one, enabled for any other.
EntryState StateOfStart(const platform::ServiceStart& start);
// "Automatic", "Automatic (Delayed Start)", "Manual", "Disabled"; other types by their number. In
// the current language, or in English for scripts.
std::wstring StartTypeWord(const platform::ServiceStart& start, bool english = false);
// "Running", "Stopped", ...
std::wstring ServiceStateWord(DWORD state, bool english = false);
