#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/NameTable.h"
#include "tk2v/util/types.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace GUI {

// Every name table of the toolkit and every keyword compares without regard to ASCII letter case.
bool NoCaseEqual(std::string_view a, std::string_view b);
struct NoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// One script property: the last text assigned and whether it was assigned since the last
// ClearChanged. The record is a member of the object that declares the property.
struct Property {
    std::string value;
    bool changed = false;
};

// The named text properties of a configurable GUI object. The set only points at the records.
class PropertySet {
public:
    PropertySet() { m_names.Reserve(32); }
    virtual ~PropertySet() = default;
    PropertySet(const PropertySet&) = delete;
    PropertySet& operator=(const PropertySet&) = delete;

    virtual void ClearChanged();
    // Reads the changed records into the object's typed fields.
    virtual void MakeFromScript() {}

    // Marks the record changed even when the text is the same, so the next MakeFromScript applies it again.
    void Set(std::string_view name, const std::string& value);
    // Empty, after a log line, for an unknown name.
    std::string Get(std::string_view name) const;

protected:
    // A null record is ignored; a second record under a taken name is refused.
    void AddProperty(const std::string& name, Property* record);

private:
    NameTable m_names;
    // By the names' numbers.
    std::vector<Property*> m_records;
};

// Readers of property texts. Each reads what a scanf format would and stops at the first text that
// does not fit; out-of-range numbers saturate.
// "%i": decimal, 0x hex or 0-prefixed octal; 0 when nothing matches.
i32 ParseInt(const std::string& text);
// True for a non-zero integer; words (even "true") are false.
bool ParseBool(const std::string& text);
// "%f"; 0 when nothing matches or the text is not a number.
f32 ParseFloat(const std::string& text);
// "%hi %hi %hi %hi": x, y, width, height; missing fields 0, negative sizes 0.
aRect ParseRect(const std::string& text);
// "%f %f": fields that do not match keep the values given.
void ParsePoint(const std::string& text, f32& x, f32& y);
// "%x", 0xAARRGGBB with or without a 0x prefix; 0 when nothing matches.
u32 ParseColor(const std::string& text);
// "%x %x %x %x"; missing colours 0.
void ParseColor4(const std::string& text, u32 (&colors)[4]);
// "left" 0, "center" 1, "right" 2; anything else 0.
i32 ParseHorizontalAlign(const std::string& text);
// "top" 0, "center" 1, "bottom" 2; anything else 0.
i32 ParseVerticalAlign(const std::string& text);
// "ctrl|shift|f5": modifier words (any leading part of "shift", "ctrl", "alt") before '|', space or
// tab, then a key name. An unknown key name, or a text ending in a separator, gives key 0.
void ParseHotkey(const std::string& text, u32& key, u32& modifiers);
// The scan code of a hotkey key name; 0 when the table has no such name.
u32 HotkeyKeyCode(std::string_view name);

// A colour channel 0..1 as a byte: 1 or more gives 255, 0 or less (or not a number) gives 0, else
// channel x 255 + 0.5 truncated.
u8 ColorByte(f32 channel);

} // namespace GUI
