// What a list shows of its entries' signatures: the Signer cell, the word scripts read, which
// entries are Windows' own, which signer is not the publisher its file names, the rows the boxes
// hide, and the Location of an entry judged by a DLL.
#pragma once
#include "find/FileFacts.h"

#include <string>

// The verified signer's name; else why it is not verified, Unsigned or File missing. Empty while
// it is not known, and for an entry that names no file.
std::wstring SignerText(const FileFacts* facts, const FileFactsTable& table);
// For scripts, in no language: verified, notVerified, unsigned, missing, or pending while it is
// not known; empty for an entry that names no file, or a folder.
std::wstring SignatureWord(const FileFacts* facts, const FileFactsTable& table);
// The SHA-256 of the entry's file, where it was asked for; empty otherwise.
std::wstring Sha256Text(const FileFacts* facts, const FileFactsTable& table);

// Windows' own: a signature of Microsoft's that holds, on a file in the Windows folder. What a file
// says of itself does not count.
bool IsWindowsEntry(const FileFacts* facts, const FileFactsTable& table);
// Whether two names are of one company: words alike, case, punctuation and legal forms (Inc., Ltd.,
// Corporation...) aside, the one's words the beginning of the other's.
bool SameCompany(const std::wstring& a, const std::wstring& b);
// A signature that holds, by someone else than the publisher the file's version information names.
bool SignerDiffers(const FileFacts* facts, const FileFactsTable& table);

// The boxes that hide entries: those of Windows, those whose signature holds.
struct TrustHiding
{
    bool windows = false;
    bool verified = false;
    bool Any() const { return windows || verified; }
};
bool HiddenByTrust(const TrustHiding& hiding, const FileFacts* facts, const FileFactsTable& table);

// How a row is drawn.
enum class RowMark
{
    Plain,
    Missing,       // its file is not there
    SignerDiffers, // see SignerDiffers
};
RowMark MarkOf(const FileFacts* facts, const FileFactsTable& table);

// The command line, with the DLL beside it when that DLL, not the line's program, judges the entry.
std::wstring LocationText(const std::wstring& commandLine, const FileFacts* facts);
