#include "tk2v/gui/Widget.h"

#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Region.h"
#include "tk2v/gui/Server.h"
#include "tk2v/platform/InputDevices.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/str.h"

#include <algorithm>
#include <cstdarg>
#include <cwchar>

namespace GUI {

namespace {

Server* server() {
    return Server::exists() ? Server::getSingleton() : nullptr;
}

// One buffer for every widget's SetTextF.
wchar_t g_formatBuffer[4096];

} // namespace

Widget::Widget(const std::string& name)
    : m_multiClickTime(f32(platform::doubleClickTime()) / 1000.0f), m_name(name) {
    using P = Properties;
    static constexpr std::pair<const char*, Property P::*> properties[] = {
        {"AreaRect", &P::areaRect},
        {"Region", &P::region},
        {"Visible", &P::visible},
        {"Enabled", &P::enabled},
        {"Static", &P::isStatic},
        {"MouseAutoRepeat", &P::mouseAutoRepeat},
        {"AutoRepeatRate", &P::autoRepeatRate},
        {"AutoRepeatDelay", &P::autoRepeatDelay},
        {"FadeInTime", &P::fadeInTime},
        {"FadeOutTime", &P::fadeOutTime},
        {"SoundMove", &P::soundMove},
        {"SoundClick", &P::soundClick},
        {"Parent", &P::parent},
        {"Font", &P::font},
        {"FontSize", &P::fontSize},
        {"Text", &P::text},
        {"Alpha", &P::alpha},
        {"InheritsAlpha", &P::inheritsAlpha},
        {"AlwaysOnTop", &P::alwaysOnTop},
        {"RiseOnClick", &P::riseOnClick},
        {"NotifyRender", &P::notifyRender},
        {"MultiClick", &P::multiClick},
        {"MultiClickTime", &P::multiClickTime},
        {"HorizontalAlign", &P::horizontalAlign},
        {"VerticalAlign", &P::verticalAlign},
        {"Modal", &P::modal},
        {"Cursor", &P::cursor},
        {"ClipByParent", &P::clipByParent},
        {"Tag", &P::tag},
        {"Hotkey", &P::hotkey},
    };
    for (const auto& [propertyName, member] : properties)
        AddProperty(propertyName, &(m_props.*member));
    for (const char* event :
         {"FocusGain",   "FocusLost",   "Hide",        "Show",    "Enabled",     "Disabled",
          "MouseEnter",  "MouseLeave",  "MouseDown",   "MouseUp", "MouseMove",   "MouseWheel",
          "Click",       "DoubleClick", "TripleClick", "KeyDown", "KeyUp",       "KeyPress",
          "TextChanged", "FontChanged", "Moved",       "Sized",   "BeginRender", "EndRender"})
        AddEvent(event);
}

Widget::~Widget() {
    // The server forgets what lies inside while the subtree still hangs together.
    if (Server* s = server())
        s->OnWidgetDestroyed(this);
    if (m_parent)
        m_parent->RemoveChild(this);
    while (!m_children.empty()) {
        Widget* child = m_children.front();
        RemoveChild(child);
        if (child->m_ownedByParent)
            delete child;
    }
    ReleaseSound(m_clickSound);
    ReleaseSound(m_moveSound);
}

void Widget::ReleaseSound(aSound*& sound) {
    if (sound) {
        if (Server* s = server())
            s->ReleaseSound(sound);
        sound = nullptr;
    }
}

bool Widget::IsA(const std::string&) const {
    return false;
}

void Widget::Initialize() {
    m_clickCount = 0;
    m_focused = false;
}

void Widget::Update(f32 dt) {
    UpdateSelf(dt);
    // By index: an update may add children.
    for (size_t i = 0; i < m_children.size(); ++i)
        m_children[i]->Update(dt);
}

void Widget::UpdateSelf(f32 dt) {
    if (m_hovered)
        m_fadeLevel = m_fadeInTime == 0 ? 1.0f : std::min(1.0f, m_fadeLevel + dt / m_fadeInTime);
    else
        m_fadeLevel = m_fadeOutTime == 0 ? 0.0f : std::max(0.0f, m_fadeLevel - dt / m_fadeOutTime);
    m_clickTimer += dt;
}

void Widget::Render() {
    if ((m_parent && !m_parent->IsVisible(false)) || !m_visible)
        return;
    aGraphServer* graph = aApplication::graphServer();
    const aRect saved = graph ? graph->getViewport() : aRect{};
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    WidgetEventArgs begin(this);
    OnBeginRender(begin);
    DrawSelf();
    bool clipping = false;
    for (size_t i = 0; i < m_drawingOrder.size(); ++i) {
        Widget* child = m_drawingOrder[i];
        if (child->m_clipByParent != clipping) {
            clipping = child->m_clipByParent;
            aRect clip;
            if (graph)
                graph->setViewport(clipping ? saved.intersect(clip, screen) : saved);
        }
        child->Render();
    }
    if (clipping && graph)
        graph->setViewport(saved);
    WidgetEventArgs end(this);
    OnEndRender(end);
}

// --- script properties ---

void Widget::MakeFromScript() {
    Properties& p = m_props;
    if (p.areaRect.changed)
        m_area = ParseRect(p.areaRect.value);
    ApplyResourceProperties();
    if (p.text.changed) {
        const aLocaleServer* locale = aLocaleServer::getInstance();
        const std::wstring* text = locale ? locale->findString(p.text.value) : nullptr;
        SetText(text ? *text : str_toWString(p.text.value));
    }
    if (p.enabled.changed)
        SetEnabled(ParseBool(p.enabled.value));
    if (p.visible.changed)
        SetVisible(ParseBool(p.visible.value));
    ApplyFlagProperties();
}

void Widget::ApplyResourceProperties() {
    Properties& p = m_props;
    Server* s = server();
    if (p.region.changed)
        m_region = s ? s->GetRegion(p.region.value) : nullptr;
    if (p.soundMove.changed) {
        ReleaseSound(m_moveSound);
        m_moveSound = s ? s->NewSound(p.soundMove.value) : nullptr;
    }
    if (p.soundClick.changed) {
        ReleaseSound(m_clickSound);
        m_clickSound = s ? s->NewSound(p.soundClick.value) : nullptr;
    }
    if (p.font.changed)
        SetFont(s ? s->GetFont(p.font.value) : nullptr);
    if (p.fontSize.changed)
        SetFontSize(ParseFloat(p.fontSize.value));
}

void Widget::ApplyFlagProperties() {
    Properties& p = m_props;
    auto apply = [](const Property& record, auto& field, auto parse) {
        if (record.changed)
            field = parse(record.value);
    };
    apply(p.isStatic, m_static, ParseBool);
    apply(p.mouseAutoRepeat, m_mouseAutoRepeat, ParseBool);
    apply(p.autoRepeatDelay, m_autoRepeatDelay, ParseFloat);
    apply(p.autoRepeatRate, m_autoRepeatRate, ParseFloat);
    apply(p.fadeInTime, m_fadeInTime, ParseFloat);
    apply(p.fadeOutTime, m_fadeOutTime, ParseFloat);
    apply(p.horizontalAlign, m_horizontalAlign, ParseHorizontalAlign);
    apply(p.verticalAlign, m_verticalAlign, ParseVerticalAlign);
    apply(p.alwaysOnTop, m_alwaysOnTop, ParseBool);
    apply(p.riseOnClick, m_riseOnClick, ParseBool);
    apply(p.notifyRender, m_notifyRender, ParseBool);
    apply(p.multiClick, m_multiClick, ParseBool);
    apply(p.multiClickTime, m_multiClickTime, ParseFloat);
    apply(p.modal, m_modal, ParseBool);
    if (p.cursor.changed)
        m_cursorName = p.cursor.value;
    apply(p.clipByParent, m_clipByParent, ParseBool);
    apply(p.tag, m_tag, ParseInt);
    apply(p.alpha, m_alpha, ParseFloat);
    apply(p.inheritsAlpha, m_inheritsAlpha, ParseBool);
    if (p.hotkey.changed)
        ParseHotkey(p.hotkey.value, m_hotkeyKey, m_hotkeyModifiers);
}

// --- area and position ---

void Widget::SetArea(i16 x, i16 y, u16 w, u16 h) {
    const aRect old = m_area;
    if (w < m_minWidth)
        w = m_minWidth;
    else if (m_maxWidth != 0 && w > m_maxWidth)
        w = m_maxWidth;
    if (h < m_minHeight)
        h = m_minHeight;
    else if (m_maxHeight != 0 && h > m_maxHeight)
        h = m_maxHeight;
    m_area = aRect{x, y, w, h};
    if (x != old.x || y != old.y)
        FireWidgetEvent(&Widget::OnMoved);
    if (w != old.w || h != old.h)
        FireWidgetEvent(&Widget::OnSized);
}

void Widget::SetMinSize(u16 w, u16 h) {
    m_minWidth = w;
    m_minHeight = h;
}

void Widget::SetMaxSize(u16 w, u16 h) {
    m_maxWidth = w;
    m_maxHeight = h;
}

i32 Widget::GetRelativeX() const {
    if (!m_parent || m_horizontalAlign == ALIGN_LEFT)
        return m_area.x;
    const i32 w = m_parent->m_area.w;
    return m_area.x + (m_horizontalAlign == ALIGN_HCENTER ? w / 2 : m_horizontalAlign == ALIGN_RIGHT ? w : 0);
}

i32 Widget::GetRelativeY() const {
    if (!m_parent || m_verticalAlign == ALIGN_TOP)
        return m_area.y;
    const i32 h = m_parent->m_area.h;
    return m_area.y + (m_verticalAlign == ALIGN_VCENTER ? h / 2 : m_verticalAlign == ALIGN_BOTTOM ? h : 0);
}

i32 Widget::GetScreenX() const {
    return m_parent ? GetRelativeX() + m_parent->GetScreenX() : m_area.x;
}

i32 Widget::GetScreenY() const {
    return m_parent ? GetRelativeY() + m_parent->GetScreenY() : m_area.y;
}

// --- flags ---

bool Widget::IsVisible(bool localOnly) const {
    if (!m_visible)
        return false;
    return localOnly || !m_parent || m_parent->IsVisible(false);
}

bool Widget::IsEnabled(bool localOnly) const {
    if (!m_enabled)
        return false;
    return localOnly || !m_parent || m_parent->IsEnabled(false);
}

void Widget::SetVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    FireWidgetEvent(visible ? &Widget::OnShow : &Widget::OnHide);
}

void Widget::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    FireWidgetEvent(enabled ? &Widget::OnEnabled : &Widget::OnDisabled);
}

f32 Widget::GetAlpha(bool localOnly) const {
    if (localOnly || !m_inheritsAlpha || !m_parent)
        return m_alpha;
    return m_alpha * m_parent->GetAlpha(false);
}

aFont* Widget::GetFont(bool localOnly) const {
    if (m_font || localOnly)
        return m_font;
    for (const Widget* w = m_parent; w; w = w->m_parent)
        if (w->m_font)
            return w->m_font;
    return nullptr;
}

void Widget::SetFont(aFont* font) {
    m_font = font;
    FireWidgetEvent(&Widget::OnFontChanged);
}

f32 Widget::GetFontSize(bool localOnly) const {
    if (m_fontSize != 0 || localOnly)
        return m_fontSize;
    for (const Widget* w = m_parent; w; w = w->m_parent)
        if (w->m_fontSize != 0)
            return w->m_fontSize;
    return 0;
}

void Widget::SetFontSize(f32 size) {
    if (size == m_fontSize)
        return;
    m_fontSize = size;
    FireWidgetEvent(&Widget::OnFontChanged);
}

void Widget::SetText(const std::wstring& text) {
    m_text = text;
    FireWidgetEvent(&Widget::OnTextChanged);
}

void Widget::SetTextF(const wchar_t* format, ...) {
    constexpr size_t size = std::size(g_formatBuffer);
    va_list args;
    va_start(args, format);
    // A text too long for the buffer keeps what fitted.
    if (std::vswprintf(g_formatBuffer, size, format, args) < 0)
        g_formatBuffer[size - 1] = 0;
    va_end(args);
    SetText(g_formatBuffer);
}

void Widget::SetHotkey(u32 key, u32 modifiers) {
    m_hotkeyKey = key;
    m_hotkeyModifiers = modifiers;
}

void Widget::FireWidgetEvent(void (Widget::*handler)(WidgetEventArgs&)) {
    WidgetEventArgs e(this);
    (this->*handler)(e);
}

// --- tree ---

bool Widget::IsAncestorOf(const Widget* widget) const {
    for (const Widget* w = widget ? widget->m_parent : nullptr; w; w = w->m_parent)
        if (w == this)
            return true;
    return false;
}

void Widget::AddChild(Widget* child) {
    // A widget under itself would make the tree a loop.
    if (!child || child == this || child->IsAncestorOf(this))
        return;
    if (child->m_parent)
        child->m_parent->RemoveChild(child);
    child->m_parent = this;
    m_children.push_back(child);
    InsertDrawingOrder(child);
}

void Widget::InsertDrawingOrder(Widget* child) {
    auto at = m_drawingOrder.end();
    if (!child->m_alwaysOnTop)
        while (at != m_drawingOrder.begin() && (*(at - 1))->m_alwaysOnTop)
            --at;
    m_drawingOrder.insert(at, child);
}

void Widget::RemoveChild(Widget* child) {
    std::erase(m_drawingOrder, child);
    auto it = std::find(m_children.begin(), m_children.end(), child);
    if (it != m_children.end()) {
        m_children.erase(it);
        child->m_parent = nullptr;
    }
}

void Widget::SetParent(Widget* parent) {
    if (parent == m_parent)
        return;
    if (parent)
        parent->AddChild(this);
    else
        m_parent->RemoveChild(this);
}

Widget* Widget::FindChild(const std::string& name, bool recursive) const {
    for (Widget* child : m_children) {
        if (NoCaseEqual(child->m_name, name))
            return child;
        if (recursive)
            if (Widget* found = child->FindChild(name, true))
                return found;
    }
    return nullptr;
}

void Widget::MoveToFront() {
    if (!m_parent)
        return;
    std::erase(m_parent->m_drawingOrder, this);
    m_parent->InsertDrawingOrder(this);
}

void Widget::RiseToFront() {
    for (Widget* w = this; w; w = w->m_parent)
        if (w->m_riseOnClick)
            w->MoveToFront();
}

// --- hit tests ---

bool Widget::RegionHit(const Region* region, i32 x, i32 y, u16 w, u16 h) {
    // The mask is stretched over the widget; a widget of no size has no pixels to hit.
    if (w == 0 || h == 0 || x < 0 || y < 0)
        return false;
    return region->IsSet(u32(i64(x) * region->GetWidth() / w), u32(i64(y) * region->GetHeight() / h));
}

bool Widget::HitTest(i32 x, i32 y) const {
    if (m_region)
        return RegionHit(m_region, x, y, m_area.w, m_area.h);
    return x >= 0 && x < m_area.w && y >= 0 && y < m_area.h;
}

Widget* Widget::WidgetAt(i32 x, i32 y, bool recursive, bool skipStatic) const {
    if (!IsVisible(false))
        return nullptr;
    for (auto it = m_drawingOrder.rbegin(); it != m_drawingOrder.rend(); ++it) {
        Widget* child = *it;
        if (!child->m_visible || (skipStatic && child->m_static))
            continue;
        const i32 cx = x - child->GetRelativeX(), cy = y - child->GetRelativeY();
        if (recursive)
            if (Widget* hit = child->WidgetAt(cx, cy, true, skipStatic))
                return hit;
        const bool inRect = cx >= 0 && cx < child->m_area.w && cy >= 0 && cy < child->m_area.h;
        const bool inParent = x >= 0 && x < m_area.w && y >= 0 && y < m_area.h;
        if (inRect && (inParent || !child->m_clipByParent) &&
            (!child->m_region || RegionHit(child->m_region, cx, cy, child->m_area.w, child->m_area.h)))
            return child;
        if (child->m_modal)
            return nullptr;
    }
    return nullptr;
}

bool Widget::HandleHotkey(u32 key, u32 modifiers) {
    for (size_t i = m_drawingOrder.size(); i-- > 0;) {
        Widget* child = m_drawingOrder[i];
        if (!child->m_visible)
            continue;
        if (child->m_enabled && child->HandleHotkey(key, modifiers))
            return true;
        if (child->m_modal)
            break;
    }
    if (m_hotkeyKey == 0 || m_hotkeyKey != key || m_hotkeyModifiers != (modifiers & 7))
        return false;
    // Buttons and check boxes act on a left click.
    MouseEventArgs e(this);
    e.handled = true;
    e.button = MOUSE_LEFT;
    OnClick(e);
    return true;
}

// --- handlers ---

void Widget::OnMouseEnter(WidgetEventArgs& e) {
    m_hovered = true;
    LaunchEvent("MouseEnter", e);
}

void Widget::OnMouseLeave(WidgetEventArgs& e) {
    m_hovered = false;
    LaunchEvent("MouseLeave", e);
}

void Widget::OnMouseMove(MouseEventArgs& e) {
    if (Server* s = server())
        s->SetMouseCursor(m_cursorName);
    LaunchEvent("MouseMove", e);
    // A move between two presses ends the counting of a double or triple click.
    m_clickTimer = m_multiClickTime + 1;
}

void Widget::OnMouseDown(MouseEventArgs& e) {
    LaunchEvent("MouseDown", e);
    if (e.button == MOUSE_LEFT) {
        if (!m_multiClick || m_clickCount >= 3 || m_clickTimer > m_multiClickTime)
            m_clickCount = 0;
        ++m_clickCount;
        if (m_clickCount == 2)
            OnDoubleClick(e);
        else if (m_clickCount == 3)
            OnTripleClick(e);
        m_clickTimer = 0;
    }
    if (Server* s = server())
        s->SetFocus(this);
}

void Widget::OnMouseUp(MouseEventArgs& e) {
    LaunchEvent("MouseUp", e);
    if (e.button == MOUSE_LEFT && m_clickCount == 1 && HitTest(e.x, e.y))
        OnClick(e);
}

void Widget::OnMouseWheel(MouseEventArgs& e) {
    LaunchEvent("MouseWheel", e);
}

void Widget::OnClick(MouseEventArgs& e) {
    if (m_clickSound)
        m_clickSound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    LaunchEvent("Click", e);
}

void Widget::OnDoubleClick(MouseEventArgs& e) {
    LaunchEvent("DoubleClick", e);
}
void Widget::OnTripleClick(MouseEventArgs& e) {
    LaunchEvent("TripleClick", e);
}

void Widget::OnFocusGain(WidgetEventArgs& e) {
    m_focused = true;
    LaunchEvent("FocusGain", e);
}

void Widget::OnFocusLost(WidgetEventArgs& e) {
    m_focused = false;
    LaunchEvent("FocusLost", e);
}

void Widget::OnKeyDown(KeybEventArgs& e) {
    LaunchEvent("KeyDown", e);
}
void Widget::OnKeyUp(KeybEventArgs& e) {
    LaunchEvent("KeyUp", e);
}
void Widget::OnKeyPress(KeybEventArgs& e) {
    LaunchEvent("KeyPress", e);
}
void Widget::OnEnabled(WidgetEventArgs& e) {
    LaunchEvent("Enabled", e);
}
void Widget::OnDisabled(WidgetEventArgs& e) {
    LaunchEvent("Disabled", e);
}
void Widget::OnShow(WidgetEventArgs& e) {
    LaunchEvent("Show", e);
}
void Widget::OnHide(WidgetEventArgs& e) {
    LaunchEvent("Hide", e);
}
void Widget::OnTextChanged(WidgetEventArgs& e) {
    LaunchEvent("TextChanged", e);
}
void Widget::OnFontChanged(WidgetEventArgs& e) {
    LaunchEvent("FontChanged", e);
}
void Widget::OnMoved(WidgetEventArgs& e) {
    LaunchEvent("Moved", e);
}
void Widget::OnSized(WidgetEventArgs& e) {
    LaunchEvent("Sized", e);
}

void Widget::OnBeginRender(WidgetEventArgs& e) {
    if (m_notifyRender)
        LaunchEvent("BeginRender", e);
}

void Widget::OnEndRender(WidgetEventArgs& e) {
    if (m_notifyRender)
        LaunchEvent("EndRender", e);
}

} // namespace GUI
