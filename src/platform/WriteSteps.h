// Every change the program makes to the system passes here first, so that a test can end the
// process at any one of them and check that a restart loses nothing.
#pragma once

namespace platform
{

using WriteStepHook = void (*)(const wchar_t* step);
// Tests only; the program never sets a hook.
void SetWriteStepHook(WriteStepHook hook);
// Called right before a registry, file or profile write or delete; step names what it is.
void BeforeWrite(const wchar_t* step);

} // namespace platform
