#pragma once
#include "game/SpyGame/Rooms/Toolkit/cEditBox.h"
#include "tk2v/util/types.h"

#include <list>
#include <memory>

class aSound;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// The edit boxes of one puzzle screen, in the order they were added; typing goes to the focused one.
class cEditBoxManager {
public:
    cEditBoxManager() = default;
    cEditBoxManager(const cEditBoxManager&) = delete;
    cEditBoxManager& operator=(const cEditBoxManager&) = delete;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    // Into the boxes the room has added already.
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cEditBoxManager() = default;

    // A new active box over the item (reset first when asked), shown; the focus stays where it was.
    cEditBox* AddEditBox(CSpyItem* item, bool prepare);
    // Every box present gets the handler, the typing sound.
    void SetOnEnter(std::unique_ptr<GUI::Subscriber> handler);
    void SetEnterHandler(std::unique_ptr<GUI::Subscriber> handler) { SetOnEnter(std::move(handler)); }
    void SetSound(aSound* typingSound);
    void SetTypeSound(aSound* typingSound) { SetSound(typingSound); }
    // The box over the item takes the focus; an item without a box changes nothing.
    void SelectByItem(const CSpyItem* item);
    void ActivateBox(const CSpyItem* item) { SelectByItem(item); }
    void Update(f32 dt);
    void Render();
    // No focus, every box empty.
    void Reset();

    cEditBox* GetFocused() const { return m_Focused; }
    const std::list<cEditBox>& GetBoxes() const { return m_Boxes; }

private:
    std::list<cEditBox> m_Boxes;
    cEditBox* m_Focused = nullptr;
};
