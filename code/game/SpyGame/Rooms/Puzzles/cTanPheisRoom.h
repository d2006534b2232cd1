#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <string>

// A dark table searched with a carried light: the flashlight shows a lit circle of the room in its
// place, and the hidden item on the table lights up the moment the circle passes over it, bringing
// a second item into view and, when so set, taking the flashlight away.
class cTanPheisRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "TanPheisRoom"; }

    cTanPheisRoom();
    ~cTanPheisRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    void HandleCursorItemInput(f32 dt) override;
    // The table item is found as if the light had passed over it.
    bool ProcessAutoActions() override;

    bool IsLightInside() const { return m_bLightInside; }
    CSpyItem* GetTableItem() const { return m_pTableItem; }

protected:
    bool IsFlashlight(const CSpyItem* item) const;
    // Lit: shown in its full colour.
    bool IsTableItemLit() const;
    void RevealTableItem();

    // From room.ini.
    std::string m_CursorItemName;
    std::string m_CursorRoomName;
    f32 m_CursorDx = 0;
    f32 m_CursorDy = 0;
    bool m_bHideOnWin = false;
    CSpyItem* m_pTableItem = nullptr;
    CSpyItem* m_pTableItem2 = nullptr;
    std::string m_WinMessage;

    // Play state.
    bool m_bLightInside = false;
};
