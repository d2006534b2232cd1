#include "game/SpyGame/Rooms/Toolkit/cMenu.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"

#include <utility>

namespace {

aKeyState LeftButton() {
    const aInputServer* input = aApplication::inputServer();
    return input ? input->mouseButtons[0] : KEY_UP;
}

void Show(CSpyItem* item, bool shown) {
    if (item)
        item->SetVisible(shown);
}

void RenderShown(CSpyItem* item) {
    if (item && item->IsVisible())
        item->Render();
}

} // namespace

u8* cMenu::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeBool(pos, m_Shown);
    pos = SaveItemRef(sys, pos, m_Background);
    pos = SaveItemRef(sys, pos, m_Hovered);
    pos = SaveItemRefList(sys, pos, m_PlainItems);
    for (const Entry& entry : m_Entries) {
        pos = SaveItemRef(sys, pos, entry.normal);
        pos = SaveItemRef(sys, pos, entry.highlighted);
    }
    return pos;
}

const u8* cMenu::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readBool(pos, m_Shown);
    pos = LoadItemRef(rooms, sys, pos, m_Background);
    pos = LoadItemRef(rooms, sys, pos, m_Hovered);
    pos = LoadItemRefList(rooms, sys, pos, m_PlainItems);
    for (Entry& entry : m_Entries) {
        pos = LoadItemRef(rooms, sys, pos, entry.normal);
        pos = LoadItemRef(rooms, sys, pos, entry.highlighted);
    }
    return pos;
}

void cMenu::AddItem(CSpyItem* normal, std::unique_ptr<GUI::Subscriber> handler, CSpyItem* highlighted,
                    aSound* clickSound, aSound* hoverSound) {
    if (!normal)
        return;
    normal->SetHighlightOnMouseHover(true);
    m_Entries.push_back({normal, highlighted, cHandlerCell(std::move(handler)), clickSound, hoverSound});
}

void cMenu::AddPlainItem(CSpyItem* item) {
    if (item)
        m_PlainItems.push_back(item);
}

cMenu::Entry* cMenu::Find(CSpyItem* normal) {
    for (Entry& entry : m_Entries)
        if (entry.normal == normal)
            return &entry;
    return nullptr;
}

void cMenu::RemoveItem(CSpyItem* normal) {
    for (auto it = m_Entries.begin(); it != m_Entries.end(); ++it)
        if (it->normal == normal) {
            normal->SetHighlightOnMouseHover(false);
            m_Entries.erase(it);
            return;
        }
}

void cMenu::SetEntry(CSpyItem* normal, CSpyItem* newNormal, CSpyItem* newHighlighted) {
    Entry* entry = normal ? Find(normal) : m_Entries.empty() ? nullptr : &m_Entries.front();
    if (!entry || !newNormal)
        return;
    entry->normal = newNormal;
    entry->highlighted = newHighlighted;
}

void cMenu::EnableItem(CSpyItem* normal, bool enabled) {
    Entry* entry = normal ? Find(normal) : nullptr;
    if (!entry)
        return;
    normal->SetHighlightOnMouseHover(enabled);
    normal->SetDisabled(!enabled);
}

void cMenu::Clear() {
    for (Entry& entry : m_Entries)
        if (entry.normal)
            entry.normal->SetHighlightOnMouseHover(false);
    m_Entries.clear();
}

void cMenu::Reset() {
    m_Hovered = nullptr;
    m_Shown = false;
    for (Entry& entry : m_Entries)
        if (entry.normal) {
            entry.normal->SetDisabled(false);
            entry.normal->SetHighlightOnMouseHover(true);
        }
}

void cMenu::SetVisible(bool shown) {
    m_Shown = shown;
    Show(m_Background, shown);
    for (Entry& entry : m_Entries) {
        Show(entry.normal, shown);
        Show(entry.highlighted, false);
    }
    for (CSpyItem* item : m_PlainItems)
        Show(item, shown);
}

void cMenu::FrameMove(f32 dt) {
    for (CSpyItem* item : m_PlainItems)
        if (item)
            item->FrameMove(dt);
}

void cMenu::Render() {
    RenderShown(m_Background);
    for (CSpyItem* item : m_PlainItems)
        RenderShown(item);
    for (const Entry& entry : m_Entries) {
        RenderShown(entry.normal);
        RenderShown(entry.highlighted);
    }
}

bool cMenu::ShowsHighlighted(const Entry& entry) {
    return entry.highlighted && entry.highlighted->IsVisible();
}

void cMenu::ShowNormal(Entry& entry) {
    Show(entry.normal, true);
    Show(entry.highlighted, false);
}

void cMenu::Update(CSpyItem* hovered) {
    if (!m_Shown)
        return;
    const aKeyState button = LeftButton();
    const bool down = button == KEY_PRESSED || button == KEY_HELD;
    // Entries before the hovered one let go of their highlighted picture once the button is up.
    auto it = m_Entries.begin();
    for (; it != m_Entries.end() && !(hovered && it->normal == hovered); ++it)
        if (ShowsHighlighted(*it) && (button == KEY_RELEASED || (!down && it->highlighted != hovered)))
            ShowNormal(*it);
    if (it == m_Entries.end())
        return;
    const CSpyItem* last = std::exchange(m_Hovered, hovered);
    Entry& entry = *it;
    if (entry.normal->IsLocked())
        return;
    if (hovered != last && entry.hoverSound)
        entry.hoverSound->play();
    if (button != KEY_PRESSED)
        return;
    if (entry.highlighted) {
        entry.normal->SetVisible(false);
        entry.highlighted->SetVisible(true);
    }
    if (entry.clickSound && !entry.clickSound->isPlaying())
        entry.clickSound->play();
    // The handler may clear or rebuild this menu: the entry is not touched after it.
    const cHandlerCell handler = entry.handler;
    handler.Call();
}
