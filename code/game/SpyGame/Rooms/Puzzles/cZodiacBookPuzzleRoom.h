#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// A locked book with a row of figure places. The player carries zodiac figures from the inventory
// over the places: a half-transparent preview shows on the free place under the cursor, a click sets
// the figure there. A figure on its own place pops and stays; one on a wrong place can be taken back.
// With every place holding its own figure the lock fades open, then the open book fades in.
class cZodiacBookPuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "ZodiacBookPuzzleRoom"; }

    cZodiacBookPuzzleRoom();
    ~cZodiacBookPuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;
    void RenderItems() override;

protected:
    // Per place: the figure that belongs there and the one set there now (null when none).
    struct SlotEntry {
        CSpyItem* slot = nullptr;
        CSpyItem* belongs = nullptr;
        CSpyItem* placed = nullptr;
    };
    struct Scaler {
        f32 minY = 0, minZoom = 0, maxY = 0, maxZoom = 0;
    };

    void ReadLists();
    void ReadScaler();
    void ReadCenters();
    // The place's index among the slots; -1 for any other item.
    i32 SlotIndex(const CSpyItem* item) const;
    void ClearHover();
    void ShowPreview(size_t slot, i32 figureNumber);
    f32 PreviewZoom(const CSpyItem& slot) const;
    void PlaceFigure(size_t slot);
    bool IsSolved() const;
    void OpenBook();
    void PlaySound(const char* name);
    std::string InventoryName(i32 number) const;

    // From room.ini.
    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    std::string m_InventoryMask;
    std::string m_SlotMask;
    std::string m_FigureMask;
    std::vector<CSpyItem*> m_Figures;
    std::vector<CSpyItem*> m_Slots;
    // None without a "SCALER" section: the preview then keeps the room's own scale.
    std::optional<Scaler> m_Scaler;
    CSpyItem* m_pOpen = nullptr;

    // Play state, in record order.
    bool m_bBookOpen = false;
    bool m_bOpenPending = false;
    bool m_bFirstReset = true;
    cScreenInventaryPair m_Pairs;
    CSpyItem* m_pHoveredSlot = nullptr;
    CSpyItem* m_pHoveredFigure = nullptr;
    // Room-local centre of the figure on each place, by the place's index.
    std::map<size_t, SpyPoint> m_SlotCenters;
    // By the place's index.
    std::map<size_t, SlotEntry> m_SlotTable;
    cAnimateItems m_PlaceAnim{m_Transform};
    cAnimHidingByColor m_RevealAnim{m_Transform};
};
