#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"

#include <map>
#include <string>

// A close-up of skin under sand. The player carries the brush over the sand with the button held:
// each patch fades while it is brushed and a tattoo comes to light beneath. Brushing over the tattoo
// itself wins: the rest of the sand goes and the tattoo counts as used. A roller, where a room has
// one, works by being held down over its target.
class CRoomCleaning : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "RoomCleaning"; }

    CRoomCleaning();
    ~CRoomCleaning() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void StopAmbient() override;

private:
    void Brush(f32 dt);
    void FindTattoo();
    void Roll();

    // Read by AfterLoadInit.
    aSound* m_pCleaningSound = nullptr;

    // Play state: what is left of each patch, 1 untouched, 0 gone.
    std::map<std::string, f32> m_SandAmounts;
};
