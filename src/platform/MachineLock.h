// A lock that one program at a time holds on this machine, whichever user or session runs it.
#pragma once
#include "platform/Handles.h"

#include <windows.h>
#include <string>

namespace platform
{

class MachineLock
{
  public:
    // Waits up to waitMilliseconds for the lock named name (without namespace). Held() tells
    // whether it was taken; Error() why not: WAIT_TIMEOUT while another program holds it.
    MachineLock(const std::wstring& name, DWORD waitMilliseconds);
    ~MachineLock();
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

    bool Held() const { return held_; }
    DWORD Error() const { return error_; }

  private:
    UniqueHandle mutex_;
    bool held_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

} // namespace platform
