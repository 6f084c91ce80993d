// The program-wide language state: the chosen pack, whether any pack exists, three messages.
#pragma once
#include <array>
#include <string>

extern std::wstring LanguageFile;
extern bool LanguagePacksFound;
extern std::array<std::wstring, 3> MessageTexts;
