#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <map>
#include <string>

// An ordinary room with two touches: some inventory items carried over it show a room item of their
// own in their place (a torch becomes its beam), held by its middle, and while a chosen item shows a
// sound loops until the player leaves. Nothing is won here beyond the room's own finds.
class cCursorRoomShower : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "CursorRoomShower"; }

    cCursorRoomShower();
    ~cCursorRoomShower() override;

    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    u32 FrameMove(f32 dt, bool paused) override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    void StopAmbient() override;

protected:
    // From room.ini; the room saves nothing of its own.
    // Inventory item name -> the name of the room item shown in its place ("CursorShower").
    std::map<std::string, std::string> m_CursorForms;
    CSpyItem* m_pWatched = nullptr;
    aSound* m_pLoopSound = nullptr;
};
