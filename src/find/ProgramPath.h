// Reading the program file out of a startup command line, the way Windows reads it to start it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// One reading of a command line: the program and what follows it.
struct ProgramCandidate
{
    std::wstring program;
    std::wstring arguments;
};

// The readings of a command line in the order Windows tries them. A quoted program is the only
// reading; an unquoted program may itself hold blanks, so each run of blanks ends one reading,
// the shortest first, and the whole line is the last. A blank line has none.
std::vector<ProgramCandidate> ProgramCandidates(std::wstring_view commandLine);

// rundll32 starts a DLL: the file that says what the entry is, is that DLL.
bool IsRundll(std::wstring_view program);
// svchost runs the DLLs of the services it hosts: those DLLs, not svchost, say what they are.
bool IsServiceHost(std::wstring_view program);
// The DLL among rundll32's arguments: quoted, or up to the comma before its entry point.
std::wstring RundllTarget(std::wstring_view arguments);

// A name without any folder, which Windows looks for along its search path.
bool IsBareName(std::wstring_view path);
bool HasExtension(std::wstring_view path);
