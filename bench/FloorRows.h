// What the floor programs read and how they tell the fill benchmark: the least a program does to
// list the startup places, one RegEnumValueW pass per run key, and the benchmark's two events.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace floors
{

// A place's words as the list shows them in English.
struct PlaceWords
{
    const wchar_t* loadFrom;
    const wchar_t* user;
    const wchar_t* when;
};

struct Row
{
    std::wstring name, command;
    const PlaceWords* place;
};

// The five run keys; with RAVELIN_FLOOR_PLACES=nine also win.ini and the StartUp folders'
// targets, the nine places of builds before the 32-bit keys; with =all every place: the other run
// keys (the machine's through its 32-bit view too) and Windows' own flags besides.
std::vector<Row> ReadRows();

// Painted, and with no start work left: sets both of the benchmark's events at once.
void TellBench();

} // namespace floors
