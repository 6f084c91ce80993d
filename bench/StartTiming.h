// One timed start of a program for the fill benchmark: from CreateProcess to the first paint of
// its filled list and to the moment it is interactive, with the start steps Ravelin.exe marks.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace bench
{

// Milliseconds of the performance counter, which the programs' marks share.
double Now();
// Of the runs that succeeded (a failed start counts as -1); -1 when none did.
double Median(std::vector<double> v);
double Least(const std::vector<double>& v);

// The milliseconds to the first paint and to the answer once interactive (-1 when not reached),
// the client area of the shown window, and for Ravelin.exe its start steps, each with its own
// milliseconds.
struct Start
{
    double painted = -1, interactive = -1;
    SIZE client{};
    std::vector<std::pair<std::wstring, double>> steps;
};

enum class Until
{
    Painted,       // ended at its first paint
    Interactive,   // a floor: answers as soon as it has painted
    StartWorkDone, // Ravelin.exe: answers after its start-work mark, and leaves its steps
};

Start StartProgram(const std::wstring& program, Until until);

} // namespace bench
