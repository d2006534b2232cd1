#pragma once
#include <cstddef>
#include <string>

// Narrow/wide conversions for player-visible text. Wide strings hold 16-bit code units.

// UTF-8 without four-byte sequences; a malformed or cut sequence ends the text there.
std::wstring str_utf8ToWString(const std::string& text);
std::wstring str_utf8ToWStringN(const char* bytes, size_t length);

// Windows-1251 bytes to wide and back; a character outside the code page narrows to "?".
std::wstring str_toWString(const std::string& text);
std::string str_toString(const std::wstring& text);
