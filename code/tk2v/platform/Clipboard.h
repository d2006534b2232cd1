#pragma once
#include <string>
#include <string_view>

namespace platform {

// The system clipboard as text of 16-bit code units, one unit a wchar_t. The system side is UTF-8.

// Puts the units up to the first NUL; a surrogate pair becomes its one character and a unit that is
// no character (a lone surrogate, a value above 0xFFFF) becomes U+FFFD. False when the system
// refuses the text.
bool setClipboardText(std::wstring_view units);
// The clipboard's text up to its first NUL: characters above U+FFFF as surrogate pairs, every
// malformed UTF-8 sequence as U+FFFD. Empty when there is no text or it cannot be read.
std::wstring getClipboardText();

// The two conversions the clipboard makes, with the rules above.
std::wstring utf8ToUnits(std::string_view utf8);
std::string unitsToUtf8(std::wstring_view units);

// Test hook: while one is installed it stands in for the system clipboard.
class ClipboardStore {
public:
    virtual ~ClipboardStore() = default;
    virtual bool setText(const std::string& utf8) = 0;
    // False when the clipboard cannot be read.
    virtual bool getText(std::string& utf8) = 0;
};
// Null restores the system clipboard.
void setClipboardStore(ClipboardStore* store);

} // namespace platform
