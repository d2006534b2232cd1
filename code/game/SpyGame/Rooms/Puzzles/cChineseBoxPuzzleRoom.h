#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimHidingByColor.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimateItems.h"
#include "game/SpyGame/Rooms/Toolkit/cChineseBoxDisk.h"
#include "game/SpyGame/Rooms/Toolkit/cPlaceByName.h"
#include "game/SpyGame/Rooms/Toolkit/cPlaceInSlot.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include <string>
#include <vector>

// A close-up of a puzzle box. Its lid carries disks, turned by dragging them, and elements, turned a
// step per click; some of them are first brought from the inventory and set in at a random angle.
// A part that comes upright pops, and a disk stays fixed then. With every part upright and every
// element set in for good the lid fades away and "BOXISOPEN" shows.
class cChineseBoxPuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "ChineseBoxPuzzleRoom"; }

    cChineseBoxPuzzleRoom();
    ~cChineseBoxPuzzleRoom() override;

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
    void StopAmbient() override;

    const cChineseBoxDisk& GetDisks() const { return m_Disks; }
    const cChineseBoxDisk& GetElements() const { return m_Elements; }
    const std::vector<std::string>& GetPartNames() const { return m_PartNames; }
    bool IsBoxOpen() const { return m_bBoxOpen; }

protected:
    void RegisterPart(const std::string& name, bool disk);
    // The part pops and its sound plays.
    void Validate(CSpyItem* part, f32 peak);
    // A disk that came upright is fixed for good.
    void ValidateDisk(CSpyItem* item);
    void TestOpening();
    void OpenBox();
    // The element whose place holds the pointer while the element is still missing, else the item
    // under the cursor: a missing element shows nothing that could be under it.
    CSpyItem* ElementPlaceUnderCursor() const;
    // The room's item of that name; null, without a log line, when it has none.
    CSpyItem* FindItem(const std::string& name);

    cRoomTransform m_Transform{&m_Origin, &m_Scale};
    // Built from room.ini.
    cChineseBoxDisk m_Disks;
    cPlaceByName m_DiskPlaces;
    cPlaceInSlot m_ElementPlaces{m_Transform};
    cChineseBoxDisk m_Elements;
    std::vector<std::string> m_PartNames;
    i32 m_PartCount = 0;
    cAnimateItems m_Pop{m_Transform};
    cAnimHidingByColor m_Fade{m_Transform};
    f32 m_Zoom1 = 1.4f;
    f32 m_Zoom2 = 1.4f;

    // Play state: the two sets, the two animations and this, in record order.
    bool m_bBoxOpen = false;
};
