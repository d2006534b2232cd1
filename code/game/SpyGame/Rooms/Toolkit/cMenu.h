#pragma once
#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"
#include "tk2v/util/types.h"

#include <list>
#include <memory>

class aSound;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// A menu of room items shown and hidden together: a background, plain items and entries the player
// clicks. A pressed entry swaps to its highlighted picture until the button comes up, with a hover
// sound for each new entry under the cursor, a click sound and the entry's handler.
class cMenu {
public:
    cMenu() = default;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    // Into the entries the room has made already.
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cMenu() = default;

    void SetBackground(CSpyItem* item) { m_Background = item; }
    CSpyItem* GetBackground() const { return m_Background; }
    // An entry needs its normal item; without one nothing is added.
    void AddItem(CSpyItem* normal, std::unique_ptr<GUI::Subscriber> handler, CSpyItem* highlighted = nullptr,
                 aSound* clickSound = nullptr, aSound* hoverSound = nullptr);
    // Shown, hidden, stepped and drawn with the menu; the menu takes no clicks on it.
    void AddPlainItem(CSpyItem* item);
    void RemoveItem(CSpyItem* normal);
    void ClearPlainItems() { m_PlainItems.clear(); }
    // The entry of that normal item (the first entry for null) gets the new pair of items.
    void SetEntry(CSpyItem* normal, CSpyItem* newNormal, CSpyItem* newHighlighted);
    void EnableItem(CSpyItem* normal, bool enabled);
    void Clear();
    void Reset();
    // Shows or hides the background, the normal items and the plain items; highlighted items are only
    // ever hidden by it.
    void SetVisible(bool shown);
    bool IsVisible() const { return m_Shown; }
    void FrameMove(f32 dt);
    void Render();
    void Update(CSpyItem* hovered);

private:
    struct Entry {
        CSpyItem* normal = nullptr;
        CSpyItem* highlighted = nullptr;
        cHandlerCell handler;
        aSound* clickSound = nullptr;
        aSound* hoverSound = nullptr;
    };

    Entry* Find(CSpyItem* normal);
    static bool ShowsHighlighted(const Entry& entry);
    static void ShowNormal(Entry& entry);

    CSpyItem* m_Background = nullptr;
    std::list<Entry> m_Entries;
    std::list<CSpyItem*> m_PlainItems;
    bool m_Shown = false;
    CSpyItem* m_Hovered = nullptr;
};
