#pragma once
#include "tk2v/util/types.h"

#include <string>

namespace GUI {

// What the text entry widgets share: the clipboard and the key mapping of a non-US keyboard.

// Puts the text (up to a NUL) on the clipboard.
void CopyTextToClipboard(const std::wstring& text);
// The clipboard's text up to its NUL; empty when there is none or it cannot be read.
std::wstring GetClipboardText();
// On a keyboard layout other than US English, a byte typed on a Latin key becomes the Windows-1251
// byte of the Russian letter or sign on that key; other bytes, and every byte on the US layout,
// pass unchanged.
u8 MapKeyToCyrillic(u8 typed);

} // namespace GUI
