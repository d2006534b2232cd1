#pragma once
#include "game/SpyGame/Rooms/Toolkit/NamedRecords.h"
#include "game/SpyGame/Rooms/Toolkit/cHandlerCell.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class aGDI;
class cRoomTransform;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Drag and drop of a room's movable items onto named target places: a press takes an item, a press
// while carrying it puts it onto a free target or swaps it with the item lying there. The manager
// only moves items and tracks what lies where; its owner judges the puzzle and hears of every put
// and take through two handlers.
class cMoveItemsManager {
public:
    enum Action : u32 { ActionNone = 0, ActionSwap = 1, ActionPut = 2, ActionTake = 3 };

    // Screen points, bounds included.
    struct ScreenRect {
        f32 left = 0, right = 0, top = 0, bottom = 0;
        bool Holds(SpyPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
    };
    // A target's rectangles as the screen points whose rounded room point they hold, for the room's
    // transform of that mapping: a walk over many items then compares screen points only.
    struct ScreenRects {
        // 0: never mapped.
        u32 mapping = 0;
        ScreenRect area, place;
    };
    // A place to drop on, in room units: a point in either rectangle is over the target, and a
    // dropped item's corner goes to the place's corner.
    struct Target {
        Target(const aRect& area = {}, const aRect& place = {}, bool enabled = true)
            : area(area), place(place), enabled(enabled) {}

        aRect area;
        aRect place;
        bool enabled;
        // Mapped on first use and again whenever the room moves or scales.
        mutable ScreenRects screen;
    };
    // What the owner may set and read of the last move.
    struct DragState {
        bool allowSwap = true;
        bool allowPut = true;
        bool allowTake = true;
        bool showPreview = true;
        CSpyItem* lastItem = nullptr;
        // Null after a plain put or a take.
        CSpyItem* displaced = nullptr;
        // The target of the last put; empty after a take.
        std::string rectName;
        // White at alpha 0x40.
        u32 previewColor = 0x40FFFFFF;
        u32 lastAction = ActionNone;
    };

    explicit cMoveItemsManager(const cRoomTransform& transform);
    ~cMoveItemsManager();
    cMoveItemsManager(const cMoveItemsManager&) = delete;
    cMoveItemsManager& operator=(const cMoveItemsManager&) = delete;

    void AddRect(const std::string& name, const aRect& place, const aRect& area);
    // With `withRect` the item also gets a target of its own name where it stands now.
    void AddItem(CSpyItem* item, bool withRect, bool enabled);
    void SetOnPut(std::unique_ptr<GUI::Subscriber> handler) { m_OnPut = cHandlerCell(std::move(handler)); }
    void SetOnTake(std::unique_ptr<GUI::Subscriber> handler) { m_OnTake = cHandlerCell(std::move(handler)); }
    void SetRectEnabled(const std::string& name, bool enabled);
    void SetItemEnabled(const CSpyItem* item, bool enabled);
    bool IsMovable(const CSpyItem* item, bool requireEnabled) const;
    // The first registered item out of the inventory lying in the target's place or area.
    CSpyItem* GetItemInRect(const std::string& name) const;
    // The item lies in the target's place.
    bool IsItemInRect(const CSpyItem* item, const std::string& name) const;
    // The target, for an owner that tests it every move without looking it up by name; null for
    // none. It stays where it is once every target is added.
    const Target* GetTarget(const std::string& name) const;
    // The item lies in the target's place.
    bool IsItemInPlace(const CSpyItem* item, const Target& target) const;
    // For each item, whether it lies in the place of the target at its index (a null target holds
    // none): the check after every drop on a table, the room's transform read once.
    void AreItemsInPlaces(const std::vector<CSpyItem*>& items, const std::vector<const Target*>& targets,
                          std::vector<u8>& inPlace) const;
    // The enabled, free target under the carried item; empty for none.
    std::string GetRectUnderItem() const;
    // The first target (by name) whose place holds the item; empty for none.
    std::string GetRectOfItem(const CSpyItem* item) const;
    void GetItems(std::list<CSpyItem*>& out) const;
    void ClearLastMove();
    void Reset();
    // The frame's mouse step: returns the item the room holds from now on (null once dropped).
    CSpyItem* ProcessMouse(f32 dt, CSpyItem* held, CSpyItem* under);
    void Render(aGDI* gdi);
    // Draws the item in the preview colour even while it is hidden.
    void RenderItem(CSpyItem* item);
    DragState& GetDragState() { return m_Drag; }
    const DragState& GetDragState() const { return m_Drag; }
    CSpyItem* GetLastMoved() const { return m_pLastMoved; }
    CSpyItem* GetCarried() const { return m_pCarried; }

    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) const;
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

private:
    // In name order, which is the order they are searched and saved in.
    using Targets = NamedRecords<Target>;

    // The item's room point, rounded to whole units; false for no item or a point that is not a number.
    bool LocalPoint(const CSpyItem* item, i32& x, i32& y) const;
    // The point lies in the target's area or place.
    static bool Holds(const Target& target, i32 x, i32 y);
    // The item lies in the target's place, or with `orArea` in its area; its rounded room point is
    // what counts, as for LocalPoint. `mapped`: the walk's Remap() found screen rectangles usable.
    bool Lies(const CSpyItem* item, const Target& target, bool orArea, bool mapped) const;
    // Notes a move or scale of the room since the last walk; false while the transform mirrors or is
    // not finite, when only room points tell.
    bool Remap() const;
    // The target's screen rectangles for the mapping Remap() last noted.
    const ScreenRects& Screen(const Target& target) const {
        if (target.screen.mapping != m_Mapping)
            MapToScreen(target);
        return target.screen;
    }
    // Rare (once per target after each move or scale of the room), so kept out of the walks' loops.
    [[gnu::cold]] void MapToScreen(const Target& target) const;
    ScreenRect ToScreen(const aRect& rect) const;
    // The first target by name whose area or place holds the item's position.
    Targets::const_iterator TargetUnder(const CSpyItem* item) const;
    Targets::const_iterator FreeTargetUnderCarried() const;
    CSpyItem* DropCarried(CSpyItem* held, CSpyItem* under);
    void Put(CSpyItem* item, const std::string& name, const Target& target, CSpyItem* displaced);
    void Take(CSpyItem* item);
    // The item becomes the last moved one, lying where it lies now.
    void Record(CSpyItem* item, bool put);
    void RenderPreview();

    const cRoomTransform* m_pTransform;
    cHandlerCell m_OnPut;
    cHandlerCell m_OnTake;
    // In the order registered, which is the order of their flags in the record.
    std::vector<CSpyItem*> m_Items;
    std::unordered_map<const CSpyItem*, bool> m_Enabled;
    Targets m_Rects;
    DragState m_Drag;
    // Where the last moved item lay after the last put or take, in room units.
    SpyPoint m_Origin;
    CSpyItem* m_pLastMoved = nullptr;
    // The frame's held item while it is movable.
    CSpyItem* m_pCarried = nullptr;
    bool m_LastWasPut = false;
    // The transform the targets' screen rectangles are mapped for, and that mapping's number.
    mutable SpyPoint m_MappedOffset, m_MappedDivisor;
    mutable u32 m_Mapping = 0;
    mutable bool m_MappingOrdered = false;
};
