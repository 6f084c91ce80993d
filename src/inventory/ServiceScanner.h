// The services scanner: every Win32 service the manager lists, one row each.
#pragma once
#include "model/ServicesState.h"

// Rebuilds the rows from the manager, each staged as its start says. ListError says when the manager could
// not be asked.
void LoadServices(ServicesState& state);
