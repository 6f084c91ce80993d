// Whether Windows itself honours its StartupApproved switches when a user logs on.
#pragma once
#include <optional>

namespace platform
{

// Windows 8 and later start an entry only while its switch is on; older Windows and Wine's start
// ignore the switch, so there an entry is kept from starting only by taking it out of its place.
bool WindowsHonoursStartupSwitch();

} // namespace platform

namespace platform
{

// Tests choose the answer, or give the decision back to the system with none; the program never
// calls this.
void OverrideStartupSwitch(std::optional<bool> honoured);

} // namespace platform
