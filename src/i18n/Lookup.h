// The text lookup through which every word of the program passes, and the error log.
#pragma once
#include "i18n/Keys.h"

#include <initializer_list>
#include <string>
#include <string_view>

// The pack's text for key, or defaultText when the pack, its section or the key is missing.
// A key present with an empty value gives an empty text. Leading blanks are dropped and the
// text is cut to 499 characters. A pack that exists but cannot be read is logged and gives "".
std::wstring SetCaptionfromINI(std::wstring_view key, std::wstring_view defaultText = {});

// While one lives, the pack is looked at on the disk once: a window's start or a change of
// language asks for hundreds of texts, a fill for some per row, and under Wine each look at the
// file is a round trip to the server. A pack edited meanwhile is read at the next batch.
class LookupBatch
{
  public:
    LookupBatch();
    ~LookupBatch();
    LookupBatch(const LookupBatch&) = delete;
    LookupBatch& operator=(const LookupBatch&) = delete;
};

// Appends one record to errorlog.txt in the program folder; failures are ignored.
void WriteErrorLog(const std::wstring& message);

// LanguageFile := the pack stored in the per-user settings, "English.ini" when none is stored.
void LoadStoredLanguage();

// Full path of the chosen pack.
std::wstring LanguagePackPath();
// Dialogs are laid out right to left exactly when the chosen pack says its language reads so.
bool RightToLeftLanguage();

// The pack's text for a key, or its English text.
std::wstring LookupText(const keys::KeyText& key);
// The pack's text for a caption key, empty when the pack does not give it.
std::wstring CaptionText(const keys::KeyText& key);
// Replaces %1, %2... in one pass, so that an argument holding "%2" stays as it is.
std::wstring FormatText(const std::wstring& pattern, std::initializer_list<std::wstring> args);

// Why a file or value could not be used, in the current language: access denied, in use by
// another program, not found, or the system's own text.
std::wstring ErrorReasonText(unsigned long error);

// Why the pack fileName in the Lang folder cannot give this program its texts (it cannot be read,
// or it has no section of ours, as with a file that is not a pack at all); empty when it can, or
// when it is not there at all (the lookup then gives its defaults).
std::wstring PackProblem(const std::wstring& fileName);
