// Program files on disk: environment variables, the system search path, version information.
#pragma once
#include <string>

namespace platform
{

// The text with its %NAME% variables replaced by their values; unknown ones stay as written.
std::wstring ExpandEnvironment(const std::wstring& text);
// A name without folder, looked for in the system folder, the Windows folder and the folders of
// PATH, with defaultExtension added when the name has none; empty when it is in none of them.
std::wstring SearchSystemFolders(const std::wstring& name, const wchar_t* defaultExtension);
// The CompanyName of a file's version information, in the first language the file lists; empty
// when the file has no version information or no CompanyName.
std::wstring FileCompanyName(const std::wstring& path);

} // namespace platform
