#include "tk2v/platform/Clipboard.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool isSurrogate(wchar_t u) {
    return u >= 0xD800 && u <= 0xDFFF;
}

// Units as the clipboard hands them out: 16-bit, no NUL, every surrogate in a proper pair.
void checkUnits(const std::wstring& units) {
    for (size_t i = 0; i < units.size(); ++i) {
        const wchar_t u = units[i];
        if (u == 0 || u > 0xFFFF)
            std::abort();
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                std::abort();
            ++i;
        } else if (isSurrogate(u)) {
            std::abort();
        }
    }
}

} // namespace

// The bytes are read both as UTF-8 and as 16-bit units; whatever comes in, the text that comes out
// is well formed and survives a second round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring fromUtf8 =
        platform::utf8ToUnits(std::string_view(reinterpret_cast<const char*>(data), size));
    checkUnits(fromUtf8);
    if (platform::utf8ToUnits(platform::unitsToUtf8(fromUtf8)) != fromUtf8)
        std::abort();

    std::wstring units;
    for (size_t i = 0; i + 1 < size; i += 2)
        units += wchar_t(data[i] | data[i + 1] << 8);
    const std::string utf8 = platform::unitsToUtf8(units);
    const std::wstring back = platform::utf8ToUnits(utf8);
    checkUnits(back);
    if (platform::unitsToUtf8(back) != utf8)
        std::abort();
    return 0;
}
