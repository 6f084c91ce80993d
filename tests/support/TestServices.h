// Services of the project's service program made in the test prefix for a test and deleted after,
// and the stand-in that keeps their delayed-start flags, which Wine's manager does not have.
#pragma once
#include "platform/Services.h"

#include <string>
#include <vector>

namespace servicetest
{

// The project's service program, built beside the tests.
std::wstring ServiceProgram();
// Delayed-start flags from now on under HKEY_CURRENT_USER\DelayedStart: the test's scratch
// registry, which its child processes share.
void UseDelayedStandIn();
// Made when missing (of the project's service program, or of another command line), then given this
// start; false when the manager refused.
bool MakeService(const std::wstring& name, platform::ServiceStart start,
                 const std::wstring& commandLine = {});
// The manager's start type and the stand-in's flag, read without the program's code.
platform::ServiceStart StartOf(const std::wstring& name);
DWORD StateOf(const std::wstring& name);
bool Run(const std::wstring& name);
// Stopped when running, then deleted.
void DeleteServices(const std::vector<std::wstring>& names);

} // namespace servicetest
