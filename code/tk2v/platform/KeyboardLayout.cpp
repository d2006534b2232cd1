#include "tk2v/platform/KeyboardLayout.h"
#include "tk2v/platform/InputDevices.h"

#include <SDL.h>

#include <atomic>

namespace platform {
namespace {

// The typing area of the US English layout: runs of keys by scan code and what they type.
struct KeyRun {
    u8 firstScanCode;
    const char* characters;
};
constexpr KeyRun kUsKeys[] = {
    {0x02, "1234567890-="},
    {0x10, "qwertyuiop[]"},
    {0x1E, "asdfghjkl;'`"},
    {0x2B, "\\zxcvbnm,./"},
};

std::atomic<KeymapLookup> g_lookup{nullptr};
// Set when the keymap must be read again; a change reported during a reading sets it again, so the
// next call reads once more.
std::atomic<bool> g_stale{true};
std::atomic<bool> g_answer{true};

int onSystemEvent(void*, SDL_Event* event) {
    if (event->type == SDL_KEYMAPCHANGED)
        g_stale = true;
    return 1;
}

char32_t systemCharacter(u8 scanCode) {
    for (u32 usage = 0; usage < SDL_NUM_SCANCODES; ++usage)
        if (scanCodeFromUsbUsage(usage) == scanCode)
            return char32_t(SDL_GetKeyFromScancode(SDL_Scancode(usage)));
    return 0;
}

bool readKeymap(KeymapLookup lookup) {
    for (const KeyRun& run : kUsKeys) {
        u8 scanCode = run.firstScanCode;
        for (const char* c = run.characters; *c; ++c, ++scanCode) {
            const char32_t typed = lookup ? lookup(scanCode) : systemCharacter(scanCode);
            if (typed != char32_t(u8(*c)))
                return false;
        }
    }
    return true;
}

} // namespace

bool isUsKeyboardLayout() {
    const KeymapLookup lookup = g_lookup;
    if (!lookup && !SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // SDL forgets its event watches when its event loop stops, so the watch is put back each time.
    SDL_DelEventWatch(&onSystemEvent, nullptr);
    SDL_AddEventWatch(&onSystemEvent, nullptr);
    if (g_stale.exchange(false))
        g_answer = readKeymap(lookup);
    return g_answer;
}

void setKeymapLookup(KeymapLookup lookup) {
    g_lookup = lookup;
    g_stale = true;
}

} // namespace platform
