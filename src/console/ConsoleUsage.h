// The usage text of ravelinc.exe, in the chosen language.
#pragma once
#include "model/StartupSource.h"

#include <string>

// Each verb with its switches and what it does, NAME and PLACE, the places with their Load From
// texts in this language, and the exit codes.
std::wstring UsageText(const SourceNameTable& names);
