#pragma once
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/StaticTextLayout.h"
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/gui/Widget.h"

#include <memory>
#include <vector>

namespace GUI {

class Scrollbar;

// The label widget: the widget's text in its own font, broken into lines and aligned inside its
// rectangle, optionally scrolled by two scrollbars found by name. The layout is redone only after a
// change, never while drawing.
class StaticText : public Widget {
public:
    explicit StaticText(const std::string& name);
    ~StaticText() override;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "StaticText"; }
    bool IsA(const std::string& typeName) const override { return typeName == "StaticText"; }
    // Binds the scrollbars named after the widget ("_auto_hscroll", "_auto_vscroll") anywhere in the
    // server's tree.
    void Initialize() override;
    void DrawSelf() override;
    void UpdateSelf(f32 dt) override;
    void OnTextChanged(WidgetEventArgs& e) override;
    void OnFontChanged(WidgetEventArgs& e) override;
    void OnSized(WidgetEventArgs& e) override;
    virtual bool OnHScroll(const EventArgs& e);
    virtual bool OnVScroll(const EventArgs& e);

    void SetTextColor(u32 argb) { m_normalColor = ColorF::FromARGB(argb); }
    void SetDisabledTextColor(u32 argb) { m_disabledColor = ColorF::FromARGB(argb); }
    const ColorF& GetTextColor() const { return m_normalColor; }
    const ColorF& GetDisabledTextColor() const { return m_disabledColor; }
    void SetHorzFormatting(TextFormatting formatting);
    void SetVertFormatting(TextFormatting formatting);
    TextFormatting GetHorzFormatting() const { return m_horzFormatting; }
    TextFormatting GetVertFormatting() const { return m_vertFormatting; }
    void SetWordWrap(bool wrap);
    bool GetWordWrap() const { return m_wordWrap; }
    void SetLineSpacing(f32 spacing);
    f32 GetLineSpacing() const { return m_lineSpacing; }
    // From one line's top to the next in the widget's font at its size; 0 without a font.
    f32 GetLineStep() const;
    // On: every glyph lands on whole pixels.
    void SetPixelSnap(bool snap);
    // The laid-out height; with a vertical scrollbar never more than the widget's height.
    f32 GetTextHeight();
    f32 GetTextWidth() const { return m_textWidth; }
    const StaticTextLayout& GetLayout() const { return m_layout; }
    Scrollbar* GetHorzScrollbar() const { return m_hscroll; }
    Scrollbar* GetVertScrollbar() const { return m_vscroll; }

private:
    void LayoutText();
    Scrollbar* BindScrollbar(const char* suffix, std::unique_ptr<Subscriber>& binder, Connection& connection,
                             bool (StaticText::*handler)(const EventArgs&), f32 pageSize);
    u32 DrawColor() const;
    u32 FirstVisibleLine(f32 lineStep) const;

    StaticTextLayout m_layout;
    std::vector<CharAdvance> m_advances;
    f32 m_textHeight = 0;
    f32 m_textWidth = 0;
    bool m_layoutDirty = false;
    f32 m_hscrollOffset = 0;
    f32 m_vscrollOffset = 0;
    Scrollbar* m_hscroll = nullptr;
    Scrollbar* m_vscroll = nullptr;
    TextFormatting m_horzFormatting = TF_LEFT;
    TextFormatting m_vertFormatting = TF_TOP;
    u32 m_drawFlags = 16;
    bool m_wordWrap = true;
    f32 m_lineSpacing = 0;
    ColorF m_normalColor;
    ColorF m_disabledColor;
    std::unique_ptr<Subscriber> m_hscrollBinder, m_vscrollBinder;
    Connection m_hscrollConnection, m_vscrollConnection;

    struct Properties {
        Property textNormalColor, textDisabledColor, horzFormatting, vertFormatting, lineSpacing, wordWrap;
    } m_ownProps;
};

} // namespace GUI
