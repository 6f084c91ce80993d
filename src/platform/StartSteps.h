// Time marks of the program's start, and the fill benchmark's hooks: the benchmark names, in
// the environment, an event to be set at the first paint, one to be set when the start's work
// is done, and a file for the timed steps.
#pragma once

namespace platform::startsteps
{

// Records that the named step has just ended. Cheap enough to stay in the program.
void Mark(const wchar_t* step);
// Marks the first paint and tells a waiting benchmark.
void FirstPaint();
// Marks, once, the end of the work the start posted to the window's thread (the file facts go on
// on their worker) and tells a waiting benchmark.
void StartWorkDone();
// Writes the marks to the file a benchmark named, one "step<TAB>ms" line each.
void Report();

} // namespace platform::startsteps
