#include "tk2v/gui/PropertySet.h"
#include "tk2v/gui/Spinner.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/Widget.h"

#include <cstdint>
#include <string>

// Input: property texts, one a line. Every reader of property values reads each line, the spinner's
// number readers read it in each mode, and the lines are set in turn on every property of a widget
// and a style, which then apply them.

namespace {

void readAll(const std::string& text) {
    volatile u32 sink = 0;
    sink = sink + u32(GUI::ParseInt(text)) + GUI::ParseBool(text) + u32(GUI::ParseFloat(text));
    const aRect r = GUI::ParseRect(text);
    f32 x = 0, y = 0;
    GUI::ParsePoint(text, x, y);
    u32 colors[4];
    GUI::ParseColor4(text, colors);
    u32 key = 0, modifiers = 0;
    GUI::ParseHotkey(text, key, modifiers);
    sink = sink + r.w + u32(x) + GUI::ParseColor(text) + colors[3] + u32(GUI::ParseHorizontalAlign(text)) +
           u32(GUI::ParseVerticalAlign(text)) + key + modifiers + u32(GUI::Style::ParseDrawType(text)) +
           GUI::ColorByte(y);
    std::wstring wide;
    for (unsigned char c : text)
        wide += wchar_t(c < 0x80 ? c : 0x400 + c);
    for (i32 mode = 0; mode < 3; ++mode)
        sink = sink + u32(GUI::Spinner::FormatNumber(GUI::Spinner::ReadValue(wide, mode), mode).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= input.size()) {
        const size_t end = std::min(input.find('\n', start), input.size());
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    for (const std::string& line : lines)
        readAll(line);

    GUI::Spinner widget("spinner");
    GUI::Style style;
    const char* const widgetProperties[] = {"AreaRect",
                                            "Region",
                                            "Visible",
                                            "Enabled",
                                            "Static",
                                            "MouseAutoRepeat",
                                            "AutoRepeatRate",
                                            "AutoRepeatDelay",
                                            "FadeInTime",
                                            "FadeOutTime",
                                            "SoundMove",
                                            "SoundClick",
                                            "Parent",
                                            "Font",
                                            "FontSize",
                                            "Text",
                                            "Alpha",
                                            "InheritsAlpha",
                                            "AlwaysOnTop",
                                            "RiseOnClick",
                                            "NotifyRender",
                                            "MultiClick",
                                            "MultiClickTime",
                                            "HorizontalAlign",
                                            "VerticalAlign",
                                            "Modal",
                                            "Cursor",
                                            "ClipByParent",
                                            "Tag",
                                            "Hotkey",
                                            "Minimum",
                                            "Maximum",
                                            "Value",
                                            "Step",
                                            "InputMode"};
    const char* const styleProperties[] = {"FillType",  "AutoSlice",  "EdgeGlobal",  "Image",    "TopLeft",
                                           "TopRight",  "BottomLeft", "BottomRight", "Left",     "Top",
                                           "Right",     "Bottom",     "Interior",    "EdgeLeft", "EdgeTop",
                                           "EdgeRight", "EdgeBottom"};
    size_t i = 0;
    for (const char* name : widgetProperties)
        widget.Set(name, lines[i++ % lines.size()]);
    for (const char* name : styleProperties)
        style.Set(name, lines[i++ % lines.size()]);
    widget.MakeFromScript();
    widget.Initialize();
    widget.Increment(GUI::EventArgs());
    widget.Update(0.25f);
    style.MakeFromScript();
    return 0;
}
