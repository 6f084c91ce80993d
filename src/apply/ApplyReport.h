// The status bar line that says what an apply did, in the current language.
#pragma once
#include "apply/ApplyEngine.h"

#include <string>

// How many entries were written and taken out; then, when some were not, which and why; then
// whether the store could not be saved. Only why, when the apply could not start.
std::wstring ApplyResultText(const ApplyResult& result);
