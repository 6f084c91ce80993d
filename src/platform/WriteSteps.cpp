// The write-step seam.
#include "platform/WriteSteps.h"

namespace platform
{

namespace
{
WriteStepHook currentHook = nullptr;
}

void SetWriteStepHook(WriteStepHook hook)
{
    currentHook = hook;
}

void BeforeWrite(const wchar_t* step)
{
    if (currentHook)
        currentHook(step);
}

} // namespace platform
