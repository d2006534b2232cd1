#include "tk2v/gui/Server.h"

#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/MouseCursor.h"
#include "tk2v/gui/Region.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/WidgetFactory.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace GUI {

namespace {

constexpr u8 SCAN_LSHIFT = 0x2A, SCAN_RSHIFT = 0x36, SCAN_LCTRL = 0x1D, SCAN_RCTRL = 0x9D, SCAN_LALT = 0x38,
             SCAN_RALT = 0xB8;

bool isDown(aKeyState state) {
    return state == KEY_PRESSED || state == KEY_HELD;
}

// The value of an entry: its tokens after the first, joined with single spaces.
std::string entryValue(const std::vector<std::string>& tokens) {
    std::string value;
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (i > 1)
            value += ' ';
        value += tokens[i];
    }
    return value;
}

// The characters of the US layout by scan code, without and with Shift.
struct KeyChars {
    u8 plain, shifted;
};
constexpr KeyChars keyChar(u32 key) {
    constexpr const char* row1 = "1!2@3#4$5%6^7&8*9(0)-_=+";  // 0x02..0x0D
    constexpr const char* row2 = "qQwWeErRtTyYuUiIoOpP[{]}";  // 0x10..0x1B
    constexpr const char* row3 = "aAsSdDfFgGhHjJkKlL;:'\"`~"; // 0x1E..0x29
    constexpr const char* row4 = "\\|zZxXcCvVbBnNmM,<.>/?";   // 0x2B..0x35
    if (key >= 0x02 && key <= 0x0D)
        return {u8(row1[(key - 0x02) * 2]), u8(row1[(key - 0x02) * 2 + 1])};
    if (key >= 0x10 && key <= 0x1B)
        return {u8(row2[(key - 0x10) * 2]), u8(row2[(key - 0x10) * 2 + 1])};
    if (key >= 0x1E && key <= 0x29)
        return {u8(row3[(key - 0x1E) * 2]), u8(row3[(key - 0x1E) * 2 + 1])};
    if (key >= 0x2B && key <= 0x35)
        return {u8(row4[(key - 0x2B) * 2]), u8(row4[(key - 0x2B) * 2 + 1])};
    if (key == 0x39)
        return {' ', 0};
    return {0, 0};
}

} // namespace

Server::Server(aImageManager* images, aSoundManager* sounds) : m_images(images), m_sounds(sounds) {
    m_root = WidgetFactory::Instance().NewWidget("Widget", "__root__");
    const aGraphServer* graph = aApplication::graphServer();
    // Without a graph server (tools, tests) the root takes the game's screen size.
    m_root->SetAreaRaw(
        aRect{0, 0, graph ? graph->getWidth() : u16(1024), graph ? graph->getHeight() : u16(768)});
    m_currentParent = m_root.get();
}

Server::~Server() {
    m_hovered = m_focused = nullptr;
    m_parentStack.clear();
    m_currentParent = nullptr;
    m_root.reset();
    m_fonts.clear();
    m_templates.clear();
    m_styles.clear();
    m_regions.clear();
    m_currentCursor = m_scriptCursor = nullptr;
    m_cursors.clear();
}

// --- resources ---

aFont* Server::GetFont(const std::string& name) const {
    auto it = m_fonts.find(name);
    if (it == m_fonts.end()) {
        log("Server::GetFont - font '%s' not found!", name.c_str());
        return nullptr;
    }
    return it->second.get();
}

Region* Server::GetRegion(const std::string& name) const {
    auto it = m_regions.find(name);
    if (it == m_regions.end()) {
        log("Server::GetRegion - region '%s' not found!", name.c_str());
        return nullptr;
    }
    return it->second.get();
}

Style* Server::GetStyle(const std::string& name) const {
    auto it = m_styles.find(name);
    if (it == m_styles.end()) {
        log("Server::GetStyle - style '%s' not found!", name.c_str());
        return nullptr;
    }
    return it->second.get();
}

MouseCursor* Server::GetMouseCursor(const std::string& name) const {
    auto it = m_cursors.find(name);
    if (it == m_cursors.end()) {
        log("Server::GetMouseCursor - mouse cursor '%s' not found!", name.c_str());
        return nullptr;
    }
    return it->second.get();
}

aImage* Server::GetImage(const std::string& name) const {
    if (!m_images || !m_images->hasImage(name)) {
        log("GUI::Server::GetImage - image \"%s\" not found!", name.c_str());
        return nullptr;
    }
    return m_images->getImage(name);
}

aSound* Server::NewSound(const std::string& name) {
    if (!m_sounds || !m_sounds->hasSound(name)) {
        log("Server::NewSound - sound '%s' not found!", name.c_str());
        return nullptr;
    }
    return m_sounds->clone(m_sounds->getSound(name));
}

void Server::ReleaseSound(aSound* sound) {
    if (m_sounds && sound)
        m_sounds->deleteClone(sound);
}

void Server::ApplyTemplate(const std::string& templateName, PropertySet& set) {
    auto it = m_templates.find(templateName);
    if (it == m_templates.end()) {
        log("Server::ApplyTemplate - template '%s' not found", templateName.c_str());
        return;
    }
    for (const auto& [name, value] : it->second)
        set.Set(name, value);
}

// --- focus, hover, cursor ---

void Server::SetFocus(Widget* widget) {
    if (widget && !widget->CanFocus())
        return;
    if (m_focused) {
        WidgetEventArgs e(m_focused);
        m_focused->OnFocusLost(e);
    }
    m_focused = widget;
    std::memset(m_keyTable, 0, sizeof m_keyTable);
    if (widget) {
        WidgetEventArgs e(widget);
        widget->OnFocusGain(e);
    }
}

void Server::SetMouseCursor(const std::string& name) {
    if (name.empty())
        return;
    MouseCursor* cursor = GetMouseCursor(name);
    if (!cursor || cursor == m_currentCursor)
        return;
    if (m_cursorShown) {
        if (m_currentCursor)
            m_currentCursor->Show(false);
        cursor->Show(true);
    }
    m_currentCursor = cursor;
}

void Server::OnWidgetDestroyed(Widget* widget) {
    if (m_walkingChains)
        m_destroyed.push_back(widget);
    if (m_hovered && (m_hovered == widget || widget->IsAncestorOf(m_hovered)))
        m_hovered = nullptr;
    if (m_focused && (m_focused == widget || widget->IsAncestorOf(m_focused)))
        m_focused = nullptr;
}

void Server::ChangeHovered(Widget* widget) {
    if (widget == m_hovered)
        return;
    auto chain = [](Widget* w) {
        std::vector<Widget*> out;
        for (; w; w = w->GetParent())
            out.push_back(w);
        std::reverse(out.begin(), out.end());
        return out;
    };
    const std::vector<Widget*> before = chain(m_hovered), after = chain(widget);
    size_t common = 0;
    while (common < before.size() && common < after.size() && before[common] == after[common])
        ++common;
    // A handler may destroy widgets of either chain; the server hears of each one.
    m_destroyed.clear();
    m_walkingChains = true;
    m_hovered = widget;
    for (size_t i = common; i < before.size(); ++i) {
        if (WasDestroyed(before[i]))
            continue;
        WidgetEventArgs e(before[i]);
        before[i]->OnMouseLeave(e);
    }
    for (size_t i = common; i < after.size(); ++i) {
        if (WasDestroyed(after[i]))
            continue;
        WidgetEventArgs e(after[i]);
        after[i]->OnMouseEnter(e);
    }
    m_walkingChains = false;
    m_destroyed.clear();
}

// --- frame ---

void Server::InitializeWidgets() {
    std::vector<Widget*> stack{m_root.get()};
    while (!stack.empty()) {
        Widget* w = stack.back();
        stack.pop_back();
        w->Initialize();
        for (Widget* child : w->GetChildren())
            stack.push_back(child);
    }
    m_heldButton = NO_BUTTON;
    m_cursorShown = true;
    m_currentCursor = nullptr;
    m_lastMouseX = m_lastMouseY = 0;
    m_hovered = m_focused = nullptr;
    m_repeatKey = NO_KEY;
}

aInputServer* Server::Input() const {
    return aApplication::inputServer();
}

u32 Server::GetModifiers() const {
    const aInputServer* in = Input();
    if (!in)
        return 0;
    u32 mask = 0;
    if (isDown(in->keyStates[SCAN_LSHIFT]) || isDown(in->keyStates[SCAN_RSHIFT]))
        mask |= MOD_SHIFT;
    if (isDown(in->keyStates[SCAN_LCTRL]) || isDown(in->keyStates[SCAN_RCTRL]))
        mask |= MOD_CTRL;
    if (isDown(in->keyStates[SCAN_LALT]) || isDown(in->keyStates[SCAN_RALT]))
        mask |= MOD_ALT;
    if (in->isKeyToggled(platform::SCAN_CAPSLOCK))
        mask |= MOD_CAPSLOCK;
    if (in->isKeyToggled(platform::SCAN_SCROLL))
        mask |= MOD_SCROLLLOCK;
    if (in->isKeyToggled(platform::SCAN_NUMLOCK))
        mask |= MOD_NUMLOCK;
    return mask;
}

u8 Server::KeyToChar(u32 key, u32 modifiers) {
    const KeyChars chars = keyChar(key);
    u8 c = (modifiers & MOD_SHIFT) ? chars.shifted : chars.plain;
    if ((modifiers & MOD_CAPSLOCK) && c >= 'a' && c <= 'z')
        c = u8(c - 'a' + 'A');
    else if ((modifiers & MOD_CAPSLOCK) && c >= 'A' && c <= 'Z')
        c = u8(c - 'A' + 'a');
    return c;
}

MouseEventArgs Server::MouseArgs(Widget* target, const MouseEventArgs& frame) const {
    MouseEventArgs e(frame);
    e.widget = target;
    e.x = frame.x - target->GetScreenX();
    e.y = frame.y - target->GetScreenY();
    return e;
}

KeybEventArgs Server::KeyArgs(Widget* target, u32 key, u32 modifiers) const {
    KeybEventArgs e(target);
    e.modifiers = modifiers;
    e.key = key;
    e.character = KeyToChar(key, modifiers);
    return e;
}

void Server::Update(f32 dt) {
    if (const aInputServer* in = Input()) {
        MouseEventArgs frame;
        in->getMousePos(frame.x, frame.y);
        frame.dx = frame.x - m_lastMouseX;
        frame.dy = frame.y - m_lastMouseY;
        m_lastMouseX = frame.x;
        m_lastMouseY = frame.y;
        m_modifiers = frame.modifiers = GetModifiers();
        frame.wheel = in->mouseWheel / platform::WHEEL_DELTA;
        DispatchButtons(frame);
        DispatchKeys(m_modifiers);
        AutoRepeat(dt, frame);
        if (m_heldButton == NO_BUTTON)
            UpdateHover(frame.x, frame.y);
        if (m_hovered && m_hovered->IsEnabled() && (frame.dx != 0 || frame.dy != 0)) {
            MouseEventArgs e = MouseArgs(m_hovered, frame);
            m_hovered->OnMouseMove(e);
        }
        if (m_hovered && m_hovered->IsEnabled() && frame.wheel != 0) {
            MouseEventArgs e = MouseArgs(m_hovered, frame);
            m_hovered->OnMouseWheel(e);
        }
    }
    m_root->Update(dt);
}

void Server::DispatchButtons(const MouseEventArgs& frame) {
    const aInputServer* in = Input();
    if (m_heldButton == NO_BUTTON) {
        for (i32 button = 0; button < NO_BUTTON; ++button) {
            if (!in->isMouseButtonDown(u32(button)))
                continue;
            m_heldButton = button;
            m_repeatTimer = 0;
            m_repeatKey = NO_KEY;
            m_repeatPhase = false;
            if (m_hovered && m_hovered->IsEnabled()) {
                m_hovered->RiseToFront();
                MouseEventArgs e = MouseArgs(m_hovered, frame);
                e.button = button;
                m_hovered->OnMouseDown(e);
            }
            return;
        }
    } else if (!in->isMouseButtonDown(u32(m_heldButton))) {
        if (m_hovered && m_hovered->IsEnabled()) {
            MouseEventArgs e = MouseArgs(m_hovered, frame);
            e.button = m_heldButton;
            m_hovered->OnMouseUp(e);
        }
        m_heldButton = NO_BUTTON;
    }
}

void Server::DispatchKeys(u32 modifiers) {
    const aInputServer* in = Input();
    for (u32 key = 0; key < 256; ++key) {
        const bool down = isDown(in->keyStates[key]);
        if (down && !m_keyTable[key] && m_heldButton == NO_BUTTON) {
            m_keyTable[key] = 1;
            m_repeatTimer = 0;
            m_repeatPhase = false;
            // A key taken by a hotkey never repeats into the focused widget, which has not seen it.
            m_repeatKey = NO_KEY;
            if (m_root->HandleHotkey(key, modifiers))
                continue;
            m_repeatKey = i32(key);
            if (m_focused && m_focused->IsEnabled()) {
                KeybEventArgs e = KeyArgs(m_focused, key, modifiers);
                m_focused->OnKeyDown(e);
            }
        } else if (!down && m_keyTable[key]) {
            m_keyTable[key] = 0;
            if (m_repeatKey == i32(key))
                m_repeatKey = NO_KEY;
            if (m_focused && m_focused->IsEnabled()) {
                KeybEventArgs e = KeyArgs(m_focused, key, modifiers);
                m_focused->OnKeyUp(e);
            }
        }
    }
}

void Server::AutoRepeat(f32 dt, const MouseEventArgs& frame) {
    const bool button = m_heldButton != NO_BUTTON;
    if (!button && m_repeatKey == NO_KEY)
        return;
    m_repeatTimer += dt;
    Widget* target = button ? m_hovered : m_focused;
    if (!target || !target->IsEnabled())
        return;
    if (!m_repeatPhase) {
        if (m_repeatTimer < target->GetAutoRepeatDelay())
            return;
        m_repeatPhase = true;
        m_repeatTimer = 0;
    } else {
        if (m_repeatTimer < target->GetAutoRepeatRate())
            return;
        m_repeatTimer -= target->GetAutoRepeatRate();
    }
    if (button) {
        MouseEventArgs e = MouseArgs(target, frame);
        e.button = m_heldButton;
        if (target->GetMouseAutoRepeat() && target->HitTest(e.x, e.y))
            target->OnMouseDown(e);
    } else {
        KeybEventArgs e = KeyArgs(target, u32(m_repeatKey), m_modifiers);
        target->OnKeyDown(e);
    }
}

void Server::UpdateHover(i32 x, i32 y) {
    Widget* hit = m_root->WidgetAt(x - m_root->GetScreenX(), y - m_root->GetScreenY(), true, true);
    if (hit && !hit->IsEnabled())
        hit = nullptr;
    ChangeHovered(hit);
}

void Server::Render() {
    m_root->Render();
}

// --- scripts ---

void Server::BeginScript(const std::string& scriptName) {
    log("GUI script '%s' parsing started", scriptName.c_str());
    // A script that ended inside a section must not leave its widgets as the next one's parents.
    m_parentStack.clear();
    m_currentParent = m_root.get();
    m_currentTemplate = nullptr;
}

int Server::EndScript(const std::string& scriptName) {
    log("GUI script '%s' parsing finished", scriptName.c_str());
    m_parentStack.clear();
    m_currentParent = m_root.get();
    m_currentTemplate = nullptr;
    return 0;
}

u32 Server::BeginSection(u32 parent, const std::vector<std::string>& tokens) {
    if (tokens.empty())
        return SECTION_NONE;
    if (parent == SECTION_NONE)
        return BeginTopSection(tokens);
    if (parent == SECTION_WIDGET)
        return BeginWidgetSection(tokens);
    return SECTION_NONE;
}

u32 Server::BeginTopSection(const std::vector<std::string>& tokens) {
    const std::string& word = tokens[0];
    if (NoCaseEqual(word, "fontlist"))
        return SECTION_FONTLIST;
    if (NoCaseEqual(word, "regionlist"))
        return SECTION_REGIONLIST;
    if (NoCaseEqual(word, "style"))
        return BeginStyleSection(tokens);
    if (NoCaseEqual(word, "cursor"))
        return BeginCursorSection(tokens);
    if (NoCaseEqual(word, "template"))
        return BeginTemplateSection(tokens);
    return BeginWidgetSection(tokens);
}

u32 Server::BeginTemplateSection(const std::vector<std::string>& tokens) {
    if (tokens.size() < 2) {
        log("Server. Template name not specified section header");
        return SECTION_NONE;
    }
    auto [it, added] = m_templates.try_emplace(tokens[1]);
    if (!added) {
        log("Server - template '%s' already exists", tokens[1].c_str());
        return SECTION_NONE;
    }
    m_currentTemplate = &it->second;
    return SECTION_TEMPLATE;
}

u32 Server::BeginStyleSection(const std::vector<std::string>& tokens) {
    if (tokens.size() < 2) {
        log("Server - style name not specified in section header");
        return SECTION_NONE;
    }
    if (m_styles.count(tokens[1])) {
        log("Server - style '%s' already exists", tokens[1].c_str());
        return SECTION_NONE;
    }
    m_currentStyle = m_styles.emplace(tokens[1], std::make_unique<Style>()).first->second.get();
    m_currentStyle->ClearChanged();
    return SECTION_STYLE;
}

u32 Server::BeginCursorSection(const std::vector<std::string>& tokens) {
    if (tokens.size() < 2) {
        log("Server - mouse cursor name not specified in section header");
        return SECTION_NONE;
    }
    if (m_cursors.count(tokens[1])) {
        log("Server - mouse cursor '%s' already exists", tokens[1].c_str());
        return SECTION_NONE;
    }
    m_scriptCursor = m_cursors.emplace(tokens[1], std::make_unique<MouseCursor>()).first->second.get();
    m_scriptCursor->ClearChanged();
    return SECTION_CURSOR;
}

std::string Server::NextAutoName() {
    char name[32];
    std::snprintf(name, sizeof name, "auto%04u", m_autoNameCounter++);
    return name;
}

u32 Server::BeginWidgetSection(const std::vector<std::string>& tokens) {
    size_t firstParameter = 2;
    std::string name;
    if (tokens.size() < 2 || tokens[1].size() < 2 || tokens[1][0] == '<') {
        name = NextAutoName();
        firstParameter = 1;
    } else {
        name = tokens[1];
    }
    std::unique_ptr<Widget> widget = WidgetFactory::Instance().NewWidget(tokens[0], name);
    if (!widget)
        return SECTION_NONE;
    Widget* w = widget.release();
    w->SetOwnedByParent(true);
    m_parentStack.push_back(m_currentParent);
    m_currentParent->AddChild(w);
    m_currentParent = w;
    w->ClearChanged();
    for (size_t i = firstParameter; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (t.size() >= 3 && t.front() == '<' && t.back() == '>')
            ApplyTemplate(t.substr(1, t.size() - 2), *w);
        else
            log("Server - invalid template parameter %d", i32(i - firstParameter + 1));
    }
    return SECTION_WIDGET;
}

void Server::EndSection(u32 kind) {
    if (kind == SECTION_STYLE)
        m_currentStyle->MakeFromScript();
    else if (kind == SECTION_CURSOR)
        m_scriptCursor->MakeFromScript();
    else if (kind == SECTION_WIDGET && !m_parentStack.empty()) {
        m_currentParent->MakeFromScript();
        m_currentParent = m_parentStack.back();
        m_parentStack.pop_back();
    }
}

void Server::ReadEntry(u32 kind, const std::vector<std::string>& tokens) {
    if (tokens.empty())
        return;
    switch (kind) {
    case SECTION_FONTLIST:
        if (tokens.size() < 2)
            return;
        if (m_fonts.count(tokens[0]))
            log("Server - font with name '%s' already exists", tokens[0].c_str());
        else
            m_fonts.emplace(tokens[0], std::make_unique<aFont>(tokens[1]));
        return;
    case SECTION_REGIONLIST:
        if (tokens.size() < 2)
            return;
        if (m_regions.count(tokens[0])) {
            log("Server - region with name '%s' already exists", tokens[0].c_str());
        } else {
            auto region = std::make_unique<Region>();
            region->LoadFromBitmap(tokens[1]);
            m_regions.emplace(tokens[0], std::move(region));
        }
        return;
    case SECTION_STYLE:
        m_currentStyle->Set(tokens[0], entryValue(tokens));
        return;
    case SECTION_CURSOR:
        m_scriptCursor->Set(tokens[0], entryValue(tokens));
        return;
    case SECTION_TEMPLATE:
        m_currentTemplate->emplace_back(tokens[0], entryValue(tokens));
        return;
    case SECTION_WIDGET:
        m_currentParent->Set(tokens[0], entryValue(tokens));
        return;
    default:
        return;
    }
}

bool Server::WasDestroyed(const Widget* widget) const {
    return std::find(m_destroyed.begin(), m_destroyed.end(), widget) != m_destroyed.end();
}

} // namespace GUI
