// The services scanner: every Win32 service the manager lists, one row each.
#pragma once
#include "model/ServicesState.h"

// Rebuilds the rows from the manager: a disabled service's Status is the Disabled word, any
// other's the Enabled word. ListError says when the manager could not be asked.
void LoadServices(ServicesState& state);
