#include "game/SpyGame/Rooms/Toolkit/cEditBox.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/str.h"

#include <algorithm>

namespace {

// Scan codes of the editing keys.
enum : u8 {
    KeyBackspace = 14,
    KeyEnter = 28,
    KeyPadEnter = 156,
    KeyHome = 199,
    KeyLeft = 203,
    KeyRight = 205,
    KeyEnd = 207,
    KeyDelete = 211,
};

bool Typeable(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '.';
}

} // namespace

u8* cEditBox::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU8(pos, m_CaretChar);
    pos = sys.writeF32(pos, m_CaretSize);
    pos = sys.writeU32(pos, m_CaretColor);
    pos = SaveItemRef(sys, pos, m_Item);
    pos = sys.writeString(pos, m_Text);
    pos = sys.writeI32(pos, m_Caret);
    pos = sys.writeI32(pos, m_Keys.m_TrackedKey);
    pos = sys.writeF32(pos, m_Keys.m_BlinkPhase);
    pos = sys.writeF32(pos, m_Keys.m_Repeat);
    pos = sys.writeF32(pos, m_Keys.m_FirstDelay);
    pos = sys.writeBool(pos, m_Active);
    pos = sys.writeBool(pos, m_Editable);
    return sys.writeU16(pos, m_MaxLength);
}

const u8* cEditBox::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU8(pos, m_CaretChar);
    pos = sys.readF32(pos, m_CaretSize);
    pos = sys.readU32(pos, m_CaretColor);
    pos = LoadItemRef(rooms, sys, pos, m_Item);
    std::string text;
    pos = sys.readString(pos, text);
    // The caret and the tracked key start afresh with the text below.
    u32 restarted = 0;
    pos = sys.readU32(pos, restarted);
    pos = sys.readU32(pos, restarted);
    pos = sys.readF32(pos, m_Keys.m_BlinkPhase);
    pos = sys.readF32(pos, m_Keys.m_Repeat);
    pos = sys.readF32(pos, m_Keys.m_FirstDelay);
    pos = sys.readBool(pos, m_Active);
    pos = sys.readBool(pos, m_Editable);
    pos = sys.readU16(pos, m_MaxLength);
    SetText(text);
    return pos;
}

void cEditBox::SetItem(CSpyItem* item, aSound* typingSound) {
    m_Item = item;
    m_Sound = typingSound;
    if (!item)
        return;
    item->SetVisible(m_Active);
    if (const aFont* font = item->GetFont()) {
        m_CaretSize = font->getScale();
        m_CaretColor = font->color;
    }
}

void cEditBox::SetActive(bool active) {
    m_Active = active;
    if (m_Item)
        m_Item->SetVisible(active);
}

void cEditBox::SetText(const std::string& text) {
    m_Text = text;
    m_Caret = 0;
    m_Keys.m_TrackedKey = -1;
    m_Keys.m_Repeat = 0;
    m_Keys.m_FirstDelay = 0;
    if (m_Item)
        m_Item->SetText(str_toWString(m_Text));
}

bool cEditBox::IsKeyFired(u8 key) {
    if (!m_Keys.IsKeyFired(key))
        return false;
    if (m_Editable)
        return true;
    m_OnRefuse.Call();
    return false;
}

void cEditBox::Update(f32 dt) {
    if (!m_Active)
        return;
    const std::string before = m_Text;
    m_Keys.Update(dt);
    if (!Edit()) {
        if (IsKeyFired(KeyEnter) || IsKeyFired(KeyPadEnter)) {
            // The handler may reset or rebind this box: nothing of it is touched afterwards.
            const cHandlerCell handler = m_OnEnter;
            handler.Call();
            return;
        }
        Type();
    }
    if (m_Item && m_Text != before) {
        m_Item->SetText(str_toWString(m_Text));
        if (m_Sound)
            m_Sound->play();
    }
}

bool cEditBox::Edit() {
    const i32 length = i32(m_Text.size());
    if (IsKeyFired(KeyRight))
        m_Caret = std::min(m_Caret + 1, length);
    else if (IsKeyFired(KeyLeft))
        m_Caret = std::max(m_Caret - 1, 0);
    else if (IsKeyFired(KeyHome))
        m_Caret = 0;
    else if (IsKeyFired(KeyEnd))
        m_Caret = length;
    else if (IsKeyFired(KeyBackspace)) {
        if (m_Caret > 0 && m_Caret <= length)
            m_Text.erase(size_t(--m_Caret), 1);
    } else if (IsKeyFired(KeyDelete)) {
        if (m_Caret >= 0 && m_Caret < length)
            m_Text.erase(size_t(m_Caret), 1);
    } else
        return false;
    return true;
}

void cEditBox::Type() {
    const u32 modifiers = GetKeyModifiers();
    for (u32 code = 0; code <= 254; ++code) {
        if (!IsKeyFired(u8(code)))
            continue;
        const char c = ScanCodeToChar(u8(code), modifiers);
        if (!Typeable(c))
            continue;
        if (m_Text.size() < m_MaxLength && m_Caret >= 0 && size_t(m_Caret) <= m_Text.size())
            m_Text.insert(size_t(m_Caret++), 1, c);
        return;
    }
}

f32 cEditBox::CaretScale(f32 fontScale) const {
    const SpyPoint zoom = m_Item->GetScale();
    return (zoom.x + zoom.y) * 0.5555555f * (m_CaretSize == OwnFontSize ? fontScale : m_CaretSize);
}

void cEditBox::Render() {
    if (!m_Active || m_Caret < 0 || !(m_Keys.m_BlinkPhase > 0) || !m_Item)
        return;
    aFont* font = m_Item->GetFont();
    if (!font)
        return;
    const f32 requested = font->getRequestedScale();
    const u32 color = font->color;
    const SpyPoint pos = m_Item->GetPos();
    const size_t before = std::min(size_t(m_Caret), m_Text.size());
    const f32 x = pos.x + font->getTextSizeW(str_toWString(m_Text.substr(0, before))).width;
    font->color = m_CaretColor;
    font->setScale(CaretScale(font->getScale()));
    const char caret[2] = {char(m_CaretChar), 0};
    font->print(x, pos.y, caret);
    font->color = color;
    font->setScale(requested);
}
