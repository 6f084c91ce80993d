// The status words a row's Status is compared with, exactly.
#pragma once
#include <string>

// Looked up at the moment of use: a language change takes effect at once.
std::wstring EnabledWord();
std::wstring DisabledWord();
std::wstring RemoveWord();
