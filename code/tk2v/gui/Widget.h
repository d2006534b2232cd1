#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/EventSet.h"
#include "tk2v/gui/PropertySet.h"
#include "tk2v/util/types.h"

#include <string>
#include <vector>

class aFont;
class aSound;

namespace GUI {

class Region;

// Alignment of a widget's position inside its parent.
enum HorizontalAlign : i32 { ALIGN_LEFT = 0, ALIGN_HCENTER = 1, ALIGN_RIGHT = 2 };
enum VerticalAlign : i32 { ALIGN_TOP = 0, ALIGN_VCENTER = 1, ALIGN_BOTTOM = 2 };

// The base of every GUI element: a named rectangle in the widget tree with the common script
// properties and events, visibility, enabling, alpha and fading, font inheritance, alignment in the
// parent, hit testing, multi-click counting, hotkeys and the drawing walk. As a class of its own it
// is the plain container of scripts.
class Widget : public PropertySet, public EventSet {
public:
    explicit Widget(const std::string& name);
    // Deletes the children it owns and lets the others go; leaves its own parent first.
    ~Widget() override;

    void MakeFromScript() override;
    virtual const char* GetTypeName() const { return "Widget"; }
    // True only for the class's own type name, exactly as written; the base answers false.
    virtual bool IsA(const std::string& typeName) const;
    virtual void Initialize();
    // UpdateSelf, then every child in children order.
    virtual void Update(f32 dt);
    virtual void Render();
    virtual void DrawSelf() {}
    // Fading and the click timer.
    virtual void UpdateSelf(f32 dt);
    virtual bool CanFocus() const { return false; }

    // Each fires the event of its name; subclasses that override one call the base to fire it.
    virtual void OnMouseEnter(WidgetEventArgs& e);
    virtual void OnMouseLeave(WidgetEventArgs& e);
    virtual void OnMouseMove(MouseEventArgs& e);
    virtual void OnMouseDown(MouseEventArgs& e);
    virtual void OnMouseUp(MouseEventArgs& e);
    virtual void OnMouseWheel(MouseEventArgs& e);
    virtual void OnClick(MouseEventArgs& e);
    virtual void OnDoubleClick(MouseEventArgs& e);
    virtual void OnTripleClick(MouseEventArgs& e);
    virtual void OnFocusGain(WidgetEventArgs& e);
    virtual void OnFocusLost(WidgetEventArgs& e);
    virtual void OnKeyDown(KeybEventArgs& e);
    virtual void OnKeyUp(KeybEventArgs& e);
    virtual void OnKeyPress(KeybEventArgs& e);
    virtual void OnEnabled(WidgetEventArgs& e);
    virtual void OnDisabled(WidgetEventArgs& e);
    virtual void OnShow(WidgetEventArgs& e);
    virtual void OnHide(WidgetEventArgs& e);
    virtual void OnTextChanged(WidgetEventArgs& e);
    virtual void OnFontChanged(WidgetEventArgs& e);
    virtual void OnMoved(WidgetEventArgs& e);
    virtual void OnSized(WidgetEventArgs& e);
    virtual void OnBeginRender(WidgetEventArgs& e);
    virtual void OnEndRender(WidgetEventArgs& e);

    const std::string& GetName() const { return m_name; }

    // Area: the position relative to the parent's alignment origin, and the size. SetArea clamps the
    // size to the limits, then fires "Moved" and then "Sized" for what changed.
    const aRect& GetArea() const { return m_area; }
    void SetArea(i16 x, i16 y, u16 w, u16 h);
    void SetArea(const aRect& area) { SetArea(area.x, area.y, area.w, area.h); }
    void SetPosition(i16 x, i16 y) { SetArea(x, y, m_area.w, m_area.h); }
    void SetSize(u16 w, u16 h) { SetArea(m_area.x, m_area.y, w, h); }
    void SetY(i16 y) { SetArea(m_area.x, y, m_area.w, m_area.h); }
    void SetWidth(u16 w) { SetArea(m_area.x, m_area.y, w, m_area.h); }
    void SetHeight(u16 h) { SetArea(m_area.x, m_area.y, m_area.w, h); }
    // Writes the area as it stands: no limits, no events.
    void SetAreaRaw(const aRect& area) { m_area = area; }
    // A maximum of 0 means none.
    void SetMinSize(u16 w, u16 h);
    void SetMaxSize(u16 w, u16 h);
    // The position with the parent's alignment applied.
    i32 GetRelativeX() const;
    i32 GetRelativeY() const;
    i32 GetScreenX() const;
    i32 GetScreenY() const;

    // Unless local only, false as soon as an ancestor's own flag is false.
    bool IsVisible(bool localOnly = false) const;
    bool IsEnabled(bool localOnly = false) const;
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);

    // Unless local only, multiplied by the parent's when alpha is inherited.
    f32 GetAlpha(bool localOnly = false) const;
    void SetAlpha(f32 alpha) { m_alpha = alpha; }
    bool GetInheritsAlpha() const { return m_inheritsAlpha; }
    void SetInheritsAlpha(bool inherits) { m_inheritsAlpha = inherits; }

    // Unless local only, a null font or a size of 0 is inherited from the nearest ancestor that has one.
    aFont* GetFont(bool localOnly = false) const;
    void SetFont(aFont* font);
    f32 GetFontSize(bool localOnly = false) const;
    void SetFontSize(f32 size);

    const std::wstring& GetText() const { return m_text; }
    // Fires "TextChanged" every time.
    void SetText(const std::wstring& text);
    // printf conventions over wide text ("%ls" for wide arguments).
    void SetTextF(const wchar_t* format, ...);

    i32 GetTag() const { return m_tag; }
    void SetTag(i32 tag) { m_tag = tag; }
    bool GetNotifyRender() const { return m_notifyRender; }
    void SetNotifyRender(bool notify) { m_notifyRender = notify; }
    bool GetMultiClick() const { return m_multiClick; }
    void SetMultiClick(bool multiClick) { m_multiClick = multiClick; }
    f32 GetMultiClickTime() const { return m_multiClickTime; }
    void SetMultiClickTime(f32 seconds) { m_multiClickTime = seconds; }
    bool GetMouseAutoRepeat() const { return m_mouseAutoRepeat; }
    void SetMouseAutoRepeat(bool repeat) { m_mouseAutoRepeat = repeat; }
    f32 GetAutoRepeatRate() const { return m_autoRepeatRate; }
    void SetAutoRepeatRate(f32 seconds) { m_autoRepeatRate = seconds; }
    f32 GetAutoRepeatDelay() const { return m_autoRepeatDelay; }
    void SetAutoRepeatDelay(f32 seconds) { m_autoRepeatDelay = seconds; }
    bool GetClipByParent() const { return m_clipByParent; }
    void SetClipByParent(bool clip) { m_clipByParent = clip; }
    bool IsStatic() const { return m_static; }
    void SetStatic(bool isStatic) { m_static = isStatic; }
    bool IsModal() const { return m_modal; }
    void SetModal(bool modal) { m_modal = modal; }
    bool IsAlwaysOnTop() const { return m_alwaysOnTop; }
    // Takes effect the next time the widget is inserted into its parent's drawing order.
    void SetAlwaysOnTop(bool onTop) { m_alwaysOnTop = onTop; }
    bool GetRiseOnClick() const { return m_riseOnClick; }
    void SetRiseOnClick(bool rise) { m_riseOnClick = rise; }
    f32 GetFadeInTime() const { return m_fadeInTime; }
    void SetFadeInTime(f32 seconds) { m_fadeInTime = seconds; }
    f32 GetFadeOutTime() const { return m_fadeOutTime; }
    void SetFadeOutTime(f32 seconds) { m_fadeOutTime = seconds; }
    // 0..1: rises while hovered, falls otherwise.
    f32 GetFadeLevel() const { return m_fadeLevel; }
    bool IsHovered() const { return m_hovered; }
    bool IsFocused() const { return m_focused; }
    i32 GetHorizontalAlign() const { return m_horizontalAlign; }
    void SetHorizontalAlign(i32 align) { m_horizontalAlign = align; }
    i32 GetVerticalAlign() const { return m_verticalAlign; }
    void SetVerticalAlign(i32 align) { m_verticalAlign = align; }
    const std::string& GetCursorName() const { return m_cursorName; }
    void SetCursorName(const std::string& name) { m_cursorName = name; }
    Region* GetRegion() const { return m_region; }
    void SetRegion(Region* region) { m_region = region; }
    u32 GetHotkeyKey() const { return m_hotkeyKey; }
    u32 GetHotkeyModifiers() const { return m_hotkeyModifiers; }
    void SetHotkey(u32 key, u32 modifiers);
    // The parent deletes a child it owns when it is destroyed. The server sets it on script widgets.
    bool IsOwnedByParent() const { return m_ownedByParent; }
    void SetOwnedByParent(bool owned) { m_ownedByParent = owned; }

    // The tree. AddChild refuses the widget itself and its ancestors.
    Widget* GetParent() const { return m_parent; }
    const std::vector<Widget*>& GetChildren() const { return m_children; }
    // Bottom first.
    const std::vector<Widget*>& GetDrawingOrder() const { return m_drawingOrder; }
    void AddChild(Widget* child);
    void RemoveChild(Widget* child);
    void SetParent(Widget* parent);
    // Depth first when recursive; names compare without regard to case.
    Widget* FindChild(const std::string& name, bool recursive = false) const;
    // Back into the parent's drawing order by the always-on-top rule.
    void MoveToFront();
    // MoveToFront on the widget and each ancestor that rises on click.
    void RiseToFront();
    bool IsAncestorOf(const Widget* widget) const;

    // The topmost hit descendant for a point relative to this widget; null when none.
    Widget* WidgetAt(i32 x, i32 y, bool recursive, bool skipStatic) const;
    // A point relative to this widget against its rectangle or region.
    bool HitTest(i32 x, i32 y) const;
    // True when a hotkey of the widget or a descendant fired.
    bool HandleHotkey(u32 key, u32 modifiers);

protected:
    // The region's pixel under a point of a w x h rectangle; false for an empty rectangle.
    static bool RegionHit(const Region* region, i32 x, i32 y, u16 w, u16 h);
    // Into the drawing order by the always-on-top rule.
    void InsertDrawingOrder(Widget* child);
    void FireWidgetEvent(void (Widget::*handler)(WidgetEventArgs&));

    bool m_enabled = true;
    bool m_visible = true;
    Widget* m_parent = nullptr;
    bool m_static = false;
    bool m_mouseAutoRepeat = false;
    f32 m_autoRepeatRate = 0.05f;
    f32 m_autoRepeatDelay = 0.3f;
    bool m_alwaysOnTop = false;
    f32 m_fadeInTime = 0;
    f32 m_fadeOutTime = 0;
    f32 m_fadeLevel = 0;
    f32 m_alpha = 1.0f;
    u16 m_minWidth = 0, m_maxWidth = 0, m_minHeight = 0, m_maxHeight = 0;
    bool m_inheritsAlpha = true;
    bool m_ownedByParent = false;
    bool m_notifyRender = false;
    bool m_focused = false;
    bool m_riseOnClick = false;
    i32 m_clickCount = 0;
    f32 m_clickTimer = 0;
    f32 m_multiClickTime;
    bool m_multiClick = false;
    bool m_modal = false;
    bool m_clipByParent = true;
    std::string m_cursorName = "default";
    aFont* m_font = nullptr;
    f32 m_fontSize = 1.0f;
    aSound* m_moveSound = nullptr;
    aSound* m_clickSound = nullptr;
    std::string m_name;
    aRect m_area{0, 0, 1, 1};
    i32 m_tag = 0;
    bool m_hovered = false;
    Region* m_region = nullptr;
    std::vector<Widget*> m_children;
    std::vector<Widget*> m_drawingOrder;
    i32 m_verticalAlign = ALIGN_TOP;
    i32 m_horizontalAlign = ALIGN_LEFT;
    std::wstring m_text;
    u32 m_hotkeyKey = 0;
    u32 m_hotkeyModifiers = 0;

    // The common script properties, in the order they are registered.
    struct Properties {
        Property areaRect, region, visible, enabled, isStatic, mouseAutoRepeat, autoRepeatRate,
            autoRepeatDelay, fadeInTime, fadeOutTime, soundMove, soundClick, parent, font, fontSize, text,
            alpha, inheritsAlpha, alwaysOnTop, riseOnClick, notifyRender, multiClick, multiClickTime,
            horizontalAlign, verticalAlign, modal, cursor, clipByParent, tag, hotkey;
    } m_props;

private:
    void ApplyResourceProperties();
    void ApplyFlagProperties();
    void ReleaseSound(aSound*& sound);
};

} // namespace GUI
