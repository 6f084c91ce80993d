// Files and folders: the program folder, the Windows folder, StartUp folders, listings,
// whole-file reads, atomic replacement and the error log's records.
#pragma once
#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

// Folder holding the running program, without trailing separator.
std::wstring ProgramFolder();
// The Windows folder without trailing separator.
std::wstring GetWindowsFolder();
// A shell special folder (created when missing), without trailing separator; empty on failure.
std::wstring GetSpecialFolderPath(int csidl);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);

// Names of the ordinary files of a folder (no folders, hidden or system files), sorted by
// name without regard to case. Fails with the system error when the folder cannot be listed;
// a missing folder lists nothing.
struct FolderListing
{
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
};
FolderListing ListFolderFiles(const std::wstring& folder);

// A path of the system's device names ("\\Device\\HarddiskVolume3\\...") with the drive letter
// that names its device now; empty when no drive does, or the path names no device.
std::wstring DosPathOfDevicePath(std::wstring_view path);

// Whole file into memory. Returns the system error; bytes is empty when the file cannot be read.
DWORD ReadWholeFile(const std::wstring& path, std::string& bytes);

// Writes bytes to a temporary file beside path and moves it over path only when everything
// was written. Returns ERROR_SUCCESS or the error; on failure path is left as it was.
DWORD ReplaceFileAtomically(const std::wstring& path, const std::string& bytes);

// Writes every byte to an open file or pipe. Returns ERROR_SUCCESS or the error.
DWORD WriteAll(HANDLE file, const std::string& bytes);

// Writes text in a code page to an open file or pipe, converted piece by piece on the stack: it
// allocates nothing, so that a crash can write too.
DWORD WriteConverted(HANDLE file, UINT codePage, std::wstring_view text);

// Appends one record (date, time, message) in the system code page to the error log logFile,
// creating it when missing; allocates nothing.
DWORD AppendErrorRecord(const std::wstring& logFile, std::wstring_view message);

// Makes a folder and the folders above it when missing. Returns the system error.
DWORD CreateFolderPath(const std::wstring& folder);

// Deletes a file; with force a read-only file is deleted too.
DWORD RemoveFile(const std::wstring& path, bool force);
// Deletes a folder that holds nothing; one that holds anything stays, as the system refuses it.
// Returns the system error.
DWORD RemoveEmptyFolder(const std::wstring& folder);
// The error of a file that is not there, or of a folder on its way that is not.
bool IsMissing(DWORD error);

} // namespace platform

namespace platform
{

// Tests give each case a program folder of its own; the program never calls this.
void OverrideProgramFolder(const std::wstring& folder);
// Tests place Windows on another drive; the program never calls this.
void OverrideWindowsFolder(const std::wstring& folder);

} // namespace platform
