// The machine-wide lock: a named mutex every user may wait for and release.
#include "platform/MachineLock.h"

#include <sddl.h>

namespace platform
{

namespace
{

// Every user and session may wait for it and release it, so a program of another user is never
// refused the lock a first program made.
HANDLE OpenShared(const std::wstring& name)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100001;;;WD)", SDDL_REVISION_1,
                                                             &descriptor, nullptr))
        attributes.lpSecurityDescriptor = descriptor;
    HANDLE mutex = CreateMutexExW(&attributes, name.c_str(), 0, SYNCHRONIZE | MUTEX_MODIFY_STATE);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return mutex;
}

} // namespace

MachineLock::MachineLock(const std::wstring& name, DWORD waitMilliseconds)
{
    // The global namespace reaches every session; where it may not be used, this session's.
    mutex_.reset(OpenShared(L"Global\\" + name));
    if (!mutex_)
        mutex_.reset(OpenShared(L"Local\\" + name));
    if (!mutex_)
    {
        error_ = GetLastError();
        return;
    }
    switch (WaitForSingleObject(mutex_.get(), waitMilliseconds))
    {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED: // its holder ended without releasing it: what it wrote was replaced whole
        held_ = true;
        break;
    case WAIT_TIMEOUT:
        error_ = WAIT_TIMEOUT;
        break;
    default:
        error_ = GetLastError();
        break;
    }
}

MachineLock::~MachineLock()
{
    if (held_)
        ReleaseMutex(mutex_.get());
}

} // namespace platform
