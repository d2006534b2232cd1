#include "game/SpyGame/Rooms/Toolkit/cEditBoxManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"

u8* cEditBoxManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    u32 focused = 0, index = 0;
    for (cEditBox& box : m_Boxes) {
        pos = box.SaveSelf(sys, pos);
        ++index;
        if (&box == m_Focused)
            focused = index;
    }
    return sys.writeU32(pos, focused);
}

const u8* cEditBoxManager::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    for (cEditBox& box : m_Boxes)
        pos = box.LoadSelf(rooms, sys, pos);
    u32 focused = 0;
    pos = sys.readU32(pos, focused);
    m_Focused = nullptr;
    u32 index = 0;
    for (cEditBox& box : m_Boxes)
        if (++index == focused)
            m_Focused = &box;
    return pos;
}

cEditBox* cEditBoxManager::AddEditBox(CSpyItem* item, bool prepare) {
    if (item && prepare)
        item->Reset();
    cEditBox& box = m_Boxes.emplace_back();
    box.SetItem(item, nullptr);
    box.SetActive(true);
    return &box;
}

void cEditBoxManager::SetOnEnter(std::unique_ptr<GUI::Subscriber> handler) {
    const cHandlerCell shared(std::move(handler));
    for (cEditBox& box : m_Boxes)
        box.SetOnEnter(shared);
}

void cEditBoxManager::SetSound(aSound* typingSound) {
    for (cEditBox& box : m_Boxes)
        box.SetSound(typingSound);
}

void cEditBoxManager::SelectByItem(const CSpyItem* item) {
    for (cEditBox& box : m_Boxes)
        if (box.GetItem() == item) {
            m_Focused = &box;
            return;
        }
}

void cEditBoxManager::Update(f32 dt) {
    if (m_Focused)
        m_Focused->Update(dt);
}

void cEditBoxManager::Render() {
    if (m_Focused)
        m_Focused->Render();
}

void cEditBoxManager::Reset() {
    m_Focused = nullptr;
    for (cEditBox& box : m_Boxes)
        box.SetText("");
}
