#pragma once
#include "game/SpyGame/Rooms/Toolkit/cAutoRepeater.h"
#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"
#include "tk2v/util/types.h"

#include <memory>
#include <string>

class aSound;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// A one-line text field of a puzzle screen, shown through the text of a room item and typed into
// straight from the keyboard: letters, digits, the blank and the full stop up to its length, the caret
// moved with the arrows, Home and End, Backspace and Delete, Enter for its handler. Held keys repeat.
// A box that is not editable calls its refusal handler for every key instead.
class cEditBox {
public:
    static constexpr f32 OwnFontSize = -1.0f;

    cEditBox() = default;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cEditBox() = default;

    // Shows or hides the item with the box and takes the caret's size and colour from its font.
    void SetItem(CSpyItem* item, aSound* typingSound);
    CSpyItem* GetItem() const { return m_Item; }
    void SetActive(bool active);
    bool IsActive() const { return m_Active; }
    void SetEditable(bool editable) { m_Editable = editable; }
    bool IsEditable() const { return m_Editable; }
    void SetCaretColor(u32 argb) { m_CaretColor = argb; }
    void SetSound(aSound* typingSound) { m_Sound = typingSound; }
    void SetOnEnter(const cHandlerCell& handler) { m_OnEnter = handler; }
    void SetOnEnter(std::unique_ptr<GUI::Subscriber> handler) {
        m_OnEnter = cHandlerCell(std::move(handler));
    }
    void SetOnRefuse(std::unique_ptr<GUI::Subscriber> handler) {
        m_OnRefuse = cHandlerCell(std::move(handler));
    }
    // The caret back at 0, no key repeating.
    void SetText(const std::string& text);
    std::string GetText() const { return m_Text; }
    i32 GetCaret() const { return m_Caret; }

    // Whether the key acts now: pressed this frame, or held past the first delay and the repeat; a
    // key that acts on a box that is not editable calls the refusal handler and answers false.
    bool IsKeyFired(u8 key);
    void Update(f32 dt);
    void Render();

private:
    // The caret moves and deletions; false when no such key acted.
    bool Edit();
    // The first allowed character among the keys that act goes in at the caret.
    void Type();
    f32 CaretScale(f32 fontScale) const;

    u8 m_CaretChar = '|';
    f32 m_CaretSize = OwnFontSize;
    u32 m_CaretColor = 0xFFFFFFFF;
    CSpyItem* m_Item = nullptr;
    std::string m_Text;
    i32 m_Caret = 0;
    // The tracked key, the blink phase and the two countdowns.
    cAutoRepeater m_Keys{0.7f};
    bool m_Active = false;
    bool m_Editable = true;
    u16 m_MaxLength = 12;
    aSound* m_Sound = nullptr;
    cHandlerCell m_OnEnter;
    cHandlerCell m_OnRefuse;
};
