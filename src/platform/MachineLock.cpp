// The machine-wide lock: a named mutex every user may wait for and release.
#include "platform/MachineLock.h"

namespace platform
{

namespace
{

// Every user and session may wait for it and release it, so a program of another user is never
// refused the lock a first program made. The descriptor is built in place: parsed from its text
// form, it cost each apply more than building it. Made here, it is this thread's at once (owned).
HANDLE OpenShared(const std::wstring& name, bool& owned)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    union {
        SID sid;
        BYTE bytes[SECURITY_MAX_SID_SIZE];
    } everyone;
    alignas(DWORD) BYTE aclBytes[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE];
    ACL* acl = reinterpret_cast<ACL*>(aclBytes);
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    if (InitializeSid(&everyone.sid, &world, 1))
    {
        *GetSidSubAuthority(&everyone.sid, 0) = SECURITY_WORLD_RID;
        if (InitializeAcl(acl, sizeof(aclBytes), ACL_REVISION) &&
            AddAccessAllowedAce(acl, ACL_REVISION, SYNCHRONIZE | MUTEX_MODIFY_STATE, &everyone.sid) &&
            InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
            attributes.lpSecurityDescriptor = &descriptor;
    }
    HANDLE mutex = CreateMutexExW(&attributes, name.c_str(), CREATE_MUTEX_INITIAL_OWNER,
                                  SYNCHRONIZE | MUTEX_MODIFY_STATE);
    // One that was there already is not given to its opener: it is waited for.
    owned = mutex && GetLastError() != ERROR_ALREADY_EXISTS;
    return mutex;
}

} // namespace

MachineLock::MachineLock(const std::wstring& name, DWORD waitMilliseconds)
{
    // The global namespace reaches every session; where it may not be used, this session's.
    bool owned = false;
    mutex_.reset(OpenShared(L"Global\\" + name, owned));
    if (!mutex_)
        mutex_.reset(OpenShared(L"Local\\" + name, owned));
    if (!mutex_)
    {
        error_ = GetLastError();
        return;
    }
    if (owned)
    {
        held_ = true;
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
