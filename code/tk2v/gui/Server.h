#pragma once
#include "tk2v/file/aScriptLoader.h"
#include "tk2v/gui/EventArgs.h"
#include "tk2v/gui/PropertySet.h"
#include "tk2v/util/aSingleton.h"
#include "tk2v/util/types.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class aFont;
class aImage;
class aImageManager;
class aInputServer;
class aSound;
class aSoundManager;

namespace GUI {

class MouseCursor;
class Region;
class Style;
class Widget;

// The one GUI of the program: owns the widget tree's root and the named resources of the scripts
// (fonts, regions, styles, mouse cursors, templates), builds widgets from ".agui" scripts, turns the
// input server's state into widget events each frame and draws the tree.
class Server : public aSingleton<Server>, public aScriptLoader {
public:
    // Kinds of script sections.
    enum SectionKind : u32 {
        SECTION_NONE = 0,
        SECTION_FONTLIST = 1,
        SECTION_REGIONLIST = 2,
        SECTION_STYLE = 3,
        SECTION_TEMPLATE = 4,
        SECTION_WIDGET = 5,
        SECTION_CURSOR = 6,
    };
    static constexpr i32 NO_BUTTON = 3;
    static constexpr i32 NO_KEY = -1;

    Server(aImageManager* images, aSoundManager* sounds);
    ~Server() override;

    Widget* GetRoot() const { return m_root.get(); }

    // Lookups by name; each logs and returns null when absent.
    aFont* GetFont(const std::string& name) const;
    Region* GetRegion(const std::string& name) const;
    Style* GetStyle(const std::string& name) const;
    MouseCursor* GetMouseCursor(const std::string& name) const;
    aImage* GetImage(const std::string& name) const;
    // A new playable instance of the named sound; hand it back with ReleaseSound.
    aSound* NewSound(const std::string& name);
    void ReleaseSound(aSound* sound);

    // Sets the template's properties on the set, in file order.
    void ApplyTemplate(const std::string& templateName, PropertySet& set);

    // Nothing for a widget that cannot take the focus; clears the key table, so held keys come again
    // as new presses.
    void SetFocus(Widget* widget);
    Widget* GetFocus() const { return m_focused; }
    Widget* GetHovered() const { return m_hovered; }
    void SetMouseCursor(const std::string& name);
    MouseCursor* GetCurrentCursor() const { return m_currentCursor; }
    // Forgets the hovered and focused widgets when they are the widget or lie inside it.
    void OnWidgetDestroyed(Widget* widget);

    // Initialize on every widget, then the input state starts afresh.
    void InitializeWidgets();
    // The frame's input dispatch, then the tree's Update.
    void Update(f32 dt);
    void Render();

    // The modifier mask of the input server's current state.
    u32 GetModifiers() const;
    // The printable character of a key on the US layout with Shift (and Caps Lock for letters);
    // 0 for none.
    static u8 KeyToChar(u32 key, u32 modifiers);

protected:
    void BeginScript(const std::string& scriptName) override;
    int EndScript(const std::string& scriptName) override;
    u32 BeginSection(u32 parent, const std::vector<std::string>& tokens) override;
    void EndSection(u32 kind) override;
    void ReadEntry(u32 kind, const std::vector<std::string>& tokens) override;

private:
    using Template = std::vector<std::pair<std::string, std::string>>;

    u32 BeginTopSection(const std::vector<std::string>& tokens);
    u32 BeginWidgetSection(const std::vector<std::string>& tokens);
    u32 BeginTemplateSection(const std::vector<std::string>& tokens);
    u32 BeginStyleSection(const std::vector<std::string>& tokens);
    u32 BeginCursorSection(const std::vector<std::string>& tokens);
    std::string NextAutoName();

    aInputServer* Input() const;
    void DispatchButtons(const MouseEventArgs& frame);
    void DispatchKeys(u32 modifiers);
    void AutoRepeat(f32 dt, const MouseEventArgs& frame);
    void UpdateHover(i32 x, i32 y);
    void ChangeHovered(Widget* widget);
    MouseEventArgs MouseArgs(Widget* target, const MouseEventArgs& frame) const;
    KeybEventArgs KeyArgs(Widget* target, u32 key, u32 modifiers) const;
    bool WasDestroyed(const Widget* widget) const;

    std::map<std::string, Template, NoCaseLess> m_templates;
    std::map<std::string, std::unique_ptr<Style>, NoCaseLess> m_styles;
    std::map<std::string, std::unique_ptr<Region>, NoCaseLess> m_regions;
    std::map<std::string, std::unique_ptr<aFont>, NoCaseLess> m_fonts;
    std::map<std::string, std::unique_ptr<MouseCursor>, NoCaseLess> m_cursors;
    std::vector<Widget*> m_parentStack;
    aImageManager* m_images;
    aSoundManager* m_sounds;
    u32 m_autoNameCounter = 0;
    std::unique_ptr<Widget> m_root;
    Widget* m_currentParent = nullptr;
    Template* m_currentTemplate = nullptr;
    Style* m_currentStyle = nullptr;
    // The cursor whose section is open; m_currentCursor is the one shown.
    MouseCursor* m_scriptCursor = nullptr;
    u32 m_modifiers = 0;
    i32 m_repeatKey = NO_KEY;
    f32 m_repeatTimer = 0;
    bool m_repeatPhase = false;
    u8 m_keyTable[256] = {};
    i32 m_heldButton = NO_BUTTON;
    bool m_cursorShown = false;
    MouseCursor* m_currentCursor = nullptr;
    i32 m_lastMouseX = 0, m_lastMouseY = 0;
    Widget* m_hovered = nullptr;
    Widget* m_focused = nullptr;
    // Widgets destroyed while the hover chains are walked.
    std::vector<const Widget*> m_destroyed;
    bool m_walkingChains = false;
};

} // namespace GUI
