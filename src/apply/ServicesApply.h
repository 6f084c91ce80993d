// The services apply: brings the Status staged on the services view into effect, start type by
// start type, with the start types it replaces remembered first.
#pragma once
#include "apply/ApplyReport.h"
#include "model/ServicesState.h"

#include <windows.h>
#include <string>
#include <vector>

// Sets every service whose staged state says other than its start type: Disabled, with its start type
// remembered first, or the start type an enable gives it. A running service is never stopped.
// A service the manager refuses to change keeps its start type, and its row says so. A start
// type is forgotten once its service is enabled, by this program or another.
// Holds the machine's apply lock throughout, as the startup apply does, waiting up to lockWait
// milliseconds, and reads the remembered start types again under it.
ApplyResult ApplyServices(ServicesState& state, DWORD lockWait = 10000);
